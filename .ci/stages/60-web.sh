#!/usr/bin/env bash
# The web page: the engine built with Emscripten, then the page driven in headless Chromium
# and its files compared with build/combogen's (built by the main CI step); axe-core and
# Lighthouse from npm (tests/web/node), Firefox ESR through WebDriver BiDi.
set -euo pipefail
cd "$(dirname "$0")/../.."

# Debian's npm only where no npm came with the machine's Node.js (a Node.js of its own bundles
# npm, and conflicts with Debian's package).
extra=()
command -v npm >/dev/null || extra=(npm)
tools/install-build-deps emscripten node-terser chromium chromium-driver python3-selenium firefox-esr \
    "${extra[@]}"
# Chromium and Firefox are Debian's: puppeteer fetches no browser of its own.
(cd tests/web/node && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund)

[ -x build/combogen ] || { cmake -S . -B build && cmake --build build -j2 --target combogen; }
export CXXFLAGS="${CXXFLAGS:-} -Werror"
cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake \
    -DCOMBOGEN_NATIVE_PROGRAM="$(pwd)/build/combogen"
timeout 900 cmake --build build-web -j2
# The page and its WebAssembly together stay under 350 KB.
size=$(cat build-web/web/* | wc -c)
echo "page and engine: $size bytes"
[ "$size" -lt 350000 ] || { echo "the page has grown past 350 KB" >&2; exit 1; }
timeout 900 ctest --test-dir build-web --output-on-failure
echo "screenshots: build-web/artifacts/"
