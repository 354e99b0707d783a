#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test headless: once in
# a plain build, once under AddressSanitizer and UndefinedBehaviorSanitizer;
# fuzzes the file readers a few seconds each where clang is present; checks
# what an install puts in place.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

install_missing "${build_packages[@]}"
export QT_QPA_PLATFORM=offscreen

echo "== Layers"
./scripts/check-layers.sh

echo "== Links between README.md and docs/"
./scripts/check-links.py

echo "== Build and test (build/)"
build_shared
ctest --test-dir build --output-on-failure -j"$(nproc)"

echo "== Build and test with sanitizers (build-sanitize/)"
configure_and_build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVARNEL_WERROR=ON -DVARNEL_SANITIZE=ON \
    -DVARNEL_BUILD_BENCHMARKS=OFF
ctest --test-dir build-sanitize --output-on-failure -j"$(nproc)"

if command -v clang++ >/dev/null; then
    echo "== Fuzz the file readers (build-fuzz/)"
    CXX=clang++ configure_and_build build-fuzz -DVARNEL_FUZZ=ON -DVARNEL_WERROR=ON -DVARNEL_BUILD_UI=OFF \
        -DVARNEL_BUILD_TESTS=OFF -DVARNEL_BUILD_BENCHMARKS=OFF >/dev/null
    # Seeds: real table files and patches, made by the program itself, and the
    # corpus of table files. The table-file target's first byte picks the name,
    # format and encoding (0: found from the name and bytes).
    seeds=build-fuzz/seeds
    rm -rf "$seeds" && mkdir -p "$seeds"/{table_file,json,ips,bps}
    head -c 400100 /dev/urandom >"$seeds/a.nes"
    head -c 400200 /dev/urandom >"$seeds/b.nes"
    for format in csv json; do
        build/cli/varnel-rom-tables export "$seeds/a.nes" --table magic --format "$format" -o "$seeds/$format.seed"
    done
    cp "$seeds/json.seed" "$seeds/json/seed"
    for file in "$seeds"/*.seed tests/corpus/table-files/*.{csv,tsv,txt,json}; do
        { printf '\0'; cat "$file"; } >"$seeds/table_file/$(basename "$file")"
    done
    for format in ips bps; do
        build/cli/varnel-rom-tables patch "$seeds/a.nes" "$seeds/b.nes" --format "$format" -o "$seeds/$format/seed" >/dev/null
    done
    for reader in table_file json ips bps; do
        log=build-fuzz/fuzz_$reader.log
        if ! build-fuzz/tests/fuzz/fuzz_$reader -max_total_time="${FUZZ_SECONDS:-5}" -max_len=65536 \
            -artifact_prefix=build-fuzz/ "$seeds/$reader" >"$log" 2>&1; then
            tail -n 40 "$log" >&2
            echo "fuzz_$reader found a fault; the input that shows it is in build-fuzz/" >&2
            exit 1
        fi
        echo "fuzz_$reader: $(grep -m1 -o 'Done [0-9]* runs in [0-9]* second(s)' "$log")"
    done
else
    echo "== clang++ not found: the fuzz targets are skipped"
fi

echo "== Install into a staging folder"
make_temporary_folder stage
DESTDIR="$stage" cmake --install build --prefix /usr >/dev/null
for file in usr/bin/varnel-rom-editor \
            usr/bin/varnel-rom-tables \
            usr/share/man/man1/varnel-rom-tables.1.gz \
            usr/share/applications/org.example.VarnelRomEditor.desktop \
            usr/share/icons/hicolor/16x16/apps/varnel-rom-editor.png \
            usr/share/icons/hicolor/256x256/apps/varnel-rom-editor.png \
            usr/share/icons/hicolor/scalable/apps/varnel-rom-editor.svg; do
    [ -f "$stage/$file" ] || { echo "install is missing $file" >&2; exit 1; }
done
desktop="$stage/usr/share/applications/org.example.VarnelRomEditor.desktop"
grep -qx 'Exec=varnel-rom-editor' "$desktop" || { echo "the desktop entry must start the program without arguments" >&2; exit 1; }
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
"$stage/usr/bin/varnel-rom-tables" --version | grep -qx "varnel-rom-tables $version" ||
    { echo "the installed varnel-rom-tables does not run or does not say the project's version $version" >&2; exit 1; }
if command -v groff >/dev/null; then
    # Any warning about the man pages' markup, read as `man` reads them in a terminal, fails the check.
    warnings=$(for page in "$stage"/usr/share/man/man1/*.1.gz; do zcat "$page" | groff -k -Tutf8 -man -ww -z 2>&1; done)
    [ -z "$warnings" ] || { echo "$warnings" >&2; exit 1; }
fi
echo "Installed files are complete."

echo "== Debian package (from build/)"
scripts/package.sh >build/package.log 2>&1 || { cat build/package.log >&2; exit 1; }
scripts/check-package.sh

# --- Web edition ---
echo "== Web edition: build and browser tests (build-web/)"
./scripts/web.sh test

echo "== Notices of what the programs and the page carry"
./scripts/check-notices.py
