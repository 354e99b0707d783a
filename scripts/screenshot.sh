#!/usr/bin/env bash
# Redraws docs/window.png: the real window under Xvfb with a synthetic image
# opened and a few rows picked.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

install_missing "${build_packages[@]}" xvfb xauth
build_shared window_screenshot >/dev/null
mkdir -p docs
make_temporary_folder runtime
QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$runtime} \
    xvfb-run -a -s "-screen 0 1024x768x24" build/tests/window_screenshot docs/window.png
echo "Wrote docs/window.png"
