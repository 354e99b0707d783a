#!/usr/bin/env bash
# The web edition: installs what is missing, builds the page into
# build-web/site/ and serves that folder on http://127.0.0.1:8080/ (PORT to
# change it).
#   scripts/web.sh            build and serve
#   scripts/web.sh build      build only
#   scripts/web.sh test [ENGINES]  build, then run the browser tests in Chromium, Firefox ESR
#                             and WebKit, or only those named (e.g. chromium or firefox,webkit;
#                             VARNEL_ENGINES says the same); an engine that cannot start fails the run
#   scripts/web.sh benchmark  build, then measure size and speed in Chromium, Firefox ESR and WebKit
#   scripts/web.sh screenshots  build, then redraw docs/web.png and docs/web-phone.png
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

# em++ with no library ports: whatever it links is header-only (Boost.CRC,
# nlohmann-json); node runs the build steps, the server and the tests.
install_missing cmake emscripten nodejs libboost-dev nlohmann-json3-dev librsvg2-bin
command -v npm >/dev/null || install_missing npm
major=$(node -p 'process.versions.node.split(".")[0]')
[ "$major" -ge 20 ] || { echo "The browser tests need Node.js 20 or later; this is $(node --version)." >&2; exit 1; }

# Playwright and puppeteer-core drive Debian's browsers; neither downloads one of its own.
export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 PUPPETEER_SKIP_DOWNLOAD=1
if [ ! -f node_modules/.package-lock.json ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
    npm ci --no-audit --no-fund
fi

# em++ finds its own JavaScript tools through NODE_PATH.
NODE_PATH=/usr/share/nodejs emcmake cmake -S web -B build-web >/dev/null
NODE_PATH=/usr/share/nodejs cmake --build build-web --target site -j"$(nproc)"

# The three engines; MiniBrowser has no headless mode: it gets an Xvfb display of its own.
browser_packages=(chromium firefox-esr webkit2gtk-driver xvfb xauth)

case "${1:-serve}" in
build) ;;
serve)
    exec node web/tools/serve.mjs build-web/site "${PORT:-8080}" ;;
test)
    install_missing "${browser_packages[@]}"
    export VARNEL_ENGINES=${2:-${VARNEL_ENGINES:-chromium,firefox,webkit}}
    # The page's files are compared with what varnel-rom-tables makes of the same images.
    install_missing "${build_packages[@]}"
    build_shared varnel-rom-tables >/dev/null
    npx playwright test -c tests/web ;;
benchmark)
    install_missing "${browser_packages[@]}"
    node benchmarks/web/PageBenchmark.mjs
    node benchmarks/web/HistoryBenchmark.mjs ;;
screenshots)
    install_missing chromium fonts-wqy-microhei
    node docs/WebScreenshots.mjs ;;
*)
    echo "usage: scripts/web.sh [build|test|benchmark|screenshots]" >&2
    exit 2 ;;
esac
