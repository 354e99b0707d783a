#!/usr/bin/env bash
# Installs what is missing, builds in build/, and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

install_missing "${build_packages[@]}"
configure_and_build build -DCMAKE_BUILD_TYPE=Release

if [ ! -x build/ui/varnel-rom-editor ]; then
    echo "Built the item tables and editor logic; there is no window yet."
    exit 0
fi
exec build/ui/varnel-rom-editor
