#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test headless: once in
# a plain build, once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

install_missing "${build_packages[@]}"
export QT_QPA_PLATFORM=offscreen

echo "== Build and test (build/)"
build_shared
ctest --test-dir build --output-on-failure -j2

echo "== Build and test with sanitizers (build-sanitize/)"
configure_and_build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVARNEL_WERROR=ON -DVARNEL_SANITIZE=ON \
    -DVARNEL_BUILD_BENCHMARKS=OFF
ctest --test-dir build-sanitize --output-on-failure -j2

echo "== Install into a staging folder"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install build --prefix /usr >/dev/null
for file in usr/bin/varnel-rom-editor \
            usr/share/applications/varnel-rom-editor.desktop \
            usr/share/icons/hicolor/16x16/apps/varnel-rom-editor.png \
            usr/share/icons/hicolor/32x32/apps/varnel-rom-editor.png; do
    [ -f "$stage/$file" ] || { echo "install is missing $file" >&2; exit 1; }
done
desktop="$stage/usr/share/applications/varnel-rom-editor.desktop"
grep -qx 'Exec=varnel-rom-editor' "$desktop" || { echo "the desktop entry must start the program without arguments" >&2; exit 1; }
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
echo "Installed files are complete."
