#!/usr/bin/env bash
# Renders the window icon's XPM drawings to the PNG files that get installed.
set -euo pipefail
cd "$(dirname "$0")/../ui/icons"
for size in 16 32; do
    convert "varnel-rom-editor-$size.xpm" -colors 256 "varnel-rom-editor-$size.png"
done
