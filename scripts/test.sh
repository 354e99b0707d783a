#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test headless: once in
# a plain build, once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

install_missing "${build_packages[@]}"
export QT_QPA_PLATFORM=offscreen

echo "== Build and test (build/)"
configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEL_WERROR=ON
ctest --test-dir build --output-on-failure -j2

echo "== Build and test with sanitizers (build-sanitize/)"
configure_and_build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVARNEL_WERROR=ON -DVARNEL_SANITIZE=ON \
    -DVARNEL_BUILD_BENCHMARKS=OFF
ctest --test-dir build-sanitize --output-on-failure -j2
