#!/usr/bin/env bash
# Checks the Debian package that scripts/package.sh built from build/: its
# version, dependencies and files, then lintian and the validators of its
# desktop entry and metainfo. Each fault fails with one line saying what.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

install_missing lintian appstream desktop-file-utils
fail() { echo "package check: $*" >&2; exit 1; }
# The words of list $2 missing from list $1, then those too many, on one line.
differences() { diff <(xargs -n1 <<<"$1") <(xargs -n1 <<<"$2") | sed -n 's/^< /missing /p; s/^> /unexpected /p' | paste -sd' '; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
package=build/varnel-rom-editor_${version}_amd64.deb
[ -f "$package" ] || fail "$package is missing"
[ "$(dpkg-deb -f "$package" Version)" = "$version" ] || fail "its Version is not the project's $version"

# What the binaries link, and what the programs load without linking it.
expected_depends="fonts-wqy-microhei libc6 libcsv3 libgcc-s1 libqt6core6 libqt6gui6 libqt6widgets6 libssl3
                  libstdc++6 libunistring2 qt6-qpa-plugins qt6-translations-l10n"
depends=$(dpkg-deb -f "$package" Depends | tr ',' '\n' | sed 's/(.*)//; s/ //g' | sort | xargs)
[ "$depends" = "$(xargs <<<"$expected_depends")" ] || fail "Depends:" "$(differences "$expected_depends" "$depends")"

expected_files="usr/bin/varnel-rom-editor
usr/bin/varnel-rom-tables
usr/share/applications/org.example.VarnelRomEditor.desktop
usr/share/doc/varnel-rom-editor/changelog.gz
usr/share/doc/varnel-rom-editor/copyright
usr/share/icons/hicolor/128x128/apps/varnel-rom-editor.png
usr/share/icons/hicolor/16x16/apps/varnel-rom-editor.png
usr/share/icons/hicolor/24x24/apps/varnel-rom-editor.png
usr/share/icons/hicolor/256x256/apps/varnel-rom-editor.png
usr/share/icons/hicolor/32x32/apps/varnel-rom-editor.png
usr/share/icons/hicolor/48x48/apps/varnel-rom-editor.png
usr/share/icons/hicolor/64x64/apps/varnel-rom-editor.png
usr/share/icons/hicolor/scalable/apps/varnel-rom-editor.svg
usr/share/man/man1/varnel-rom-editor.1.gz
usr/share/man/man1/varnel-rom-tables.1.gz
usr/share/metainfo/org.example.VarnelRomEditor.metainfo.xml"
files=$(dpkg-deb -c "$package" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort)
[ "$files" = "$expected_files" ] || fail "files:" "$(differences "$expected_files" "$files")"

make_temporary_folder unpacked
dpkg-deb -x "$package" "$unpacked"
for file in usr/share/man/man1/varnel-rom-editor.1.gz usr/share/man/man1/varnel-rom-tables.1.gz \
            usr/share/doc/varnel-rom-editor/changelog.gz; do
    zcat "$unpacked/$file" | sed -n 1p | grep -qwF -- "$version" || fail "$file does not start with version $version"
done

lintian --allow-root --fail-on error,warning "$package" >&2 || fail "lintian finds errors or warnings (above)"
# Debian's hardening flags: lintian reports their absence only as information.
unhardened=$(lintian --allow-root --display-info --tags hardening-no-bindnow,hardening-no-fortify-functions,hardening-no-relro,hardening-no-pie \
    "$package" | paste -sd' ')
[ -z "$unhardened" ] || fail "the programs are built without Debian's hardening flags: $unhardened"
for size in 16x16 24x24 32x32 48x48 64x64 128x128 256x256; do
    icon=$unpacked/usr/share/icons/hicolor/$size/apps/varnel-rom-editor.png
    [ "$(file -b "$icon" | grep -o '[0-9]* x [0-9]*' | tr -d ' ')" = "$size" ] || fail "the $size icon is $(file -b "$icon")"
done
metainfo=$(appstreamcli validate-tree --no-net "$unpacked" 2>&1) ||
    fail "the metainfo is not valid:" "$(grep -E '^ *[EW]:' <<<"$metainfo" | sed 's/^ *//' | paste -sd' ')"
desktop=$unpacked/usr/share/applications/org.example.VarnelRomEditor.desktop
desktop-file-validate "$desktop" || fail "the desktop entry is not valid (above)"
grep -qx 'Name=VarnelROM修改器' "$desktop" || fail "the desktop menu does not show the Chinese name VarnelROM修改器"
echo "The package $package is complete and valid."
