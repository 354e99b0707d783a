#!/usr/bin/env python3
"""Fails, naming the library, when the programs or the page carry code of
another project that their notices do not credit.

The programs (build/): every header compiled into them that a Debian package
holds without a shared library (header-only code ends up in the binaries) and
every static archive on their link lines must be credited in
packaging/copyright as "from Debian's PACKAGE". The page (build-web/): every
archive em++ linked (the linker's trace, build-web/varnel.linked), every
header-only library compiled, and every file of another project in site/
must have its section in site/licences.html."""
import pathlib
import re
import subprocess
import sys

root = pathlib.Path(__file__).resolve().parent.parent
missing = []

# Packages whose headers only declare what the kernel provides.
declarations_only = {'linux-libc-dev'}
# The page's notices by what the build names: emscripten's archives and the
# header-only libraries (by their folder), each with the section crediting it.
page_notices = {
    'libc': ['musl', 'emscripten'], 'libc++': ['libcxx'], 'libc++abi': ['libcxx'], 'libcompiler_rt': ['libcxx'],
    'libunwind': ['libcxx'], 'libdlmalloc': ['dlmalloc'], 'libembind': ['emscripten'], 'libstubs': ['emscripten'],
    'libnoexit': ['emscripten'], 'libsockets': ['emscripten'], 'libhtml5': ['emscripten'], 'libGL': ['emscripten'],
    'libal': ['emscripten'], 'libprintf_long_double': ['musl'],
    'boost': ['boost'], 'nlohmann': ['nlohmann-json'],
}


def owner(path):
    found = subprocess.run(['dpkg', '-S', str(path)], capture_output=True, text=True).stdout
    return found.split(':')[0] if found else None


def has_shared_library(package):
    files = subprocess.run(['dpkg', '-L', package], capture_output=True, text=True).stdout.split()
    return any(re.search(r'\.so(\.\d+)*$', file) for file in files)


def headers_compiled(folders):
    """Every header the object files under folders were compiled from."""
    headers = set()
    for folder in folders:
        for depends in folder.rglob('*.o.d'):
            for name in re.findall(r'(\S+\.(?:hpp|hxx|hh|ipp|tcc|h)|\S+/include/c\+\+/[^\s\\]+)(?=\s|$)', depends.read_text()):
                headers.add(pathlib.Path(name))
    return headers


def check_programs(build):
    copyright_file = (root / 'packaging' / 'copyright').read_text(encoding='utf-8')
    credited = set(re.findall(r"from Debian's\s+(\S+?)[,.]?\s", copyright_file))
    layers = [build / layer for layer in ('core', 'formats', 'editor', 'ui', 'cli')]
    by_folder = {}
    for header in headers_compiled(layers):
        if header.is_absolute() and root not in header.parents and build not in header.parents:
            by_folder.setdefault(header.parent, header)
    for link in [*(build / 'cli').rglob('link.txt'), *(build / 'ui').rglob('link.txt')]:
        # Link commands run in the folder above CMakeFiles/.
        folder = link.parent.parent.parent
        for name in re.findall(r'(\S+\.a)(?=\s|$)', link.read_text()):
            archive = (folder / name).resolve()
            if build not in archive.parents:
                by_folder.setdefault(archive, archive)
    packages = {}
    for example in by_folder.values():
        package = owner(example)
        if package is None:
            missing.append(f'the programs compile in {example}, which no Debian package holds')
        elif package not in packages:
            packages[package] = example
    for package, example in sorted(packages.items()):
        if package in declarations_only or package in credited or has_shared_library(package):
            continue
        missing.append(f"the programs compile in {example} from {package}, and packaging/copyright "
                       f"credits nothing \"from Debian's {package}\"")


def check_page(build):
    site = build / 'site'
    page = (site / 'licences.html').read_text(encoding='utf-8')
    sections = set(re.findall(r'<h2 id="([^"]+)"', page))
    carried = set()
    trace = (build / 'varnel.linked').read_text()
    carried |= {re.sub(r'-(mt|except|noexcept|rtti|optz|debug|noerrno)\b.*', '', name)
                for name in re.findall(r'/(lib[^/()]+?)\.a\(', trace)}
    header_only = build / 'header-only'
    carried |= {header.relative_to(header_only).parts[0] for header in headers_compiled([build / 'CMakeFiles'])
                if header_only in header.parents}
    for name in sorted(carried):
        if name not in page_notices:
            missing.append(f'the page links {name} from emscripten, and check-notices.py does not know its notice')
        for section in page_notices.get(name, []):
            if section not in sections:
                missing.append(f'the page carries {name}, and licences.html has no section "{section}"')
    ours = {path.relative_to(root / 'web' / 'page') for path in (root / 'web' / 'page').rglob('*') if path.is_file()}
    built = {pathlib.Path(name) for name in ('varnel.mjs', 'varnel.wasm')} | {path.relative_to(site) for path in (site / 'icons').glob('*')}
    for path in sorted(site.rglob('*')):
        file = path.relative_to(site)
        if path.is_file() and file not in ours and file not in built and file.name not in page:
            missing.append(f'the page serves {file}, and licences.html does not name it')
    if 'emscripten' not in sections:
        missing.append('the page runs emscripten\'s varnel.mjs, and licences.html has no section "emscripten"')
    # And nothing is credited that the page no longer carries.
    needed = {'varnel', 'emscripten', 'texts'} | {section for name in carried for section in page_notices.get(name, [])}
    for section in sorted(sections - needed):
        missing.append(f'licences.html credits "{section}", which the page no longer carries')


for folder, check in ((root / 'build', check_programs), (root / 'build-web', check_page)):
    if folder.is_dir():
        check(folder)
    else:
        print(f'{folder.name}/ is not built: its notices are not checked', file=sys.stderr)
for line in missing:
    print(f'notices: {line}', file=sys.stderr)
if missing:
    sys.exit(1)
print('Every library the programs and the page carry has its notice.')
