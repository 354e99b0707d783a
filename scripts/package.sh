#!/usr/bin/env bash
# Builds the Debian package build/varnel-rom-editor_<version>_amd64.deb with
# CPack from the shared build/ folder.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

# dpkg-shlibdeps (dpkg-dev) finds the package's dependencies; CPack picks the
# binaries it asks about with `file`.
install_missing "${build_packages[@]}" dpkg-dev file
# The changelog's date: the last commit's, so the same commit gives the same changelog.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
export SOURCE_DATE_EPOCH
build_shared varnel-rom-editor varnel-rom-tables
(cd build && cpack -G DEB)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
echo "To install it: sudo apt install ./build/varnel-rom-editor_${version}_amd64.deb"
