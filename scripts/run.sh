#!/usr/bin/env bash
# Installs what is missing, builds in build/, and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

install_missing "${build_packages[@]}"
build_shared varnel-rom-editor  # the editor alone, not the tests

# Without a display the editor says so in one line and exits non-zero.
exec build/ui/varnel-rom-editor
