#!/usr/bin/env bash
# The web page: the README's own lines for its browser tests (the block after
# "<!-- web-tests -->"), run as written, so that they keep working on a fresh machine: the
# engine built with Emscripten, the page driven in headless Chromium and its files compared
# with build/combogen's; axe-core and Lighthouse from npm, Firefox ESR through WebDriver BiDi.
# Then the size of the page with its engine.
set -euo pipefail
cd "$(dirname "$0")/../.."

lines=$(awk '/^<!-- web-tests -->$/ { found = 1; next }
             found && /^```$/ { if (inside) exit; inside = 1; next }
             inside { print }' README.md)
[ -n "$lines" ] || { echo "the README's web-tests block is missing" >&2; exit 1; }
echo "$lines"
export CXXFLAGS="${CXXFLAGS:-} -Werror"
timeout 1800 bash -euo pipefail -c "$lines"
echo "screenshots: build-web/artifacts/"
# The page and its WebAssembly together stay under 400 KB.
size=$(cat build-web/web/* | wc -c)
echo "page and engine: $size bytes"
[ "$size" -lt 400000 ] || { echo "the page has grown past 400 KB" >&2; exit 1; }
