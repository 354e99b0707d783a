#!/usr/bin/env bash
# Fails, naming the file and line, on an #include that reaches a layer the
# including layer may not know: each layer knows only itself and those below.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A knows=(
    [core]="core"
    [formats]="core formats"
    [editor]="core editor"
    [ui]="core editor ui"
    [cli]="core formats cli"
    [web]="core formats web"
)

status=0
for layer in "${!knows[@]}"; do
    [ -d "$layer" ] || continue
    while IFS=: read -r file line text; do
        target=$(sed -E 's/.*#include *"([^/"]+)\/.*/\1/' <<<"$text")
        if [[ " ${knows[$layer]} " != *" $target "* ]]; then
            echo "$file:$line: $layer/ may not include $target/: $text" >&2
            status=1
        fi
    done < <(grep -rnE '^\s*#\s*include\s*"[^/"]+/' "$layer" --include='*.h' --include='*.cpp' || true)
done
[ "$status" -eq 0 ] && echo "Every include stays within the layers its folder may know."
exit "$status"
