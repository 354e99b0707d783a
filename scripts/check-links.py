#!/usr/bin/env python3
"""Fails, naming the file and the link, on a relative link or #anchor between
README.md and docs/*.md that leads nowhere: the README points into docs/, and
the lead adds text there, so a renamed heading or file must not go unnoticed."""
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parent.parent
pages = [root / 'README.md', *sorted((root / 'docs').glob('*.md'))]
link_pattern = re.compile(r'!?\[[^\]]*\]\(([^)\s]+)\)|<img [^>]*src="([^"]+)"')
code_pattern = re.compile(r'```.*?```|`[^`\n]*`', re.S)


def anchors(page):
    """The anchors GitHub makes of a page's headings, numbered when repeated."""
    found, seen = set(), {}
    text = code_pattern.sub('', page.read_text(encoding='utf-8'))
    for heading in re.findall(r'^#{1,6} +(.+?) *$', text, re.M):
        slug = re.sub(r'[^\w\- ]', '', heading.strip().lower()).replace(' ', '-')
        count = seen.get(slug, 0)
        seen[slug] = count + 1
        found.add(slug if count == 0 else f'{slug}-{count}')
    return found


broken = []
for page in pages:
    text = code_pattern.sub('', page.read_text(encoding='utf-8'))
    for match in link_pattern.finditer(text):
        link = match.group(1) or match.group(2)
        if re.match(r'[a-z]+:', link):
            continue
        path, _, anchor = link.partition('#')
        target = (page.parent / path).resolve() if path else page
        where = f'{page.relative_to(root)}: {link}'
        if not target.exists():
            broken.append(f'{where}: no file {path}')
        elif anchor and target.suffix == '.md' and anchor not in anchors(target):
            broken.append(f'{where}: no heading #{anchor} in {target.relative_to(root)}')

for line in broken:
    print(line, file=sys.stderr)
if broken:
    sys.exit(1)
print(f'Every link between {len(pages)} pages leads somewhere.')
