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

# Lighthouse on the page as served: 100 in every category on a desktop; on a phone 100 for
# accessibility and best practices, at least 98 for performance, and layout shifts under 0.05.
# Timed scores on a busy machine: the best of three runs counts.
port=8765
python3 -m http.server --bind 127.0.0.1 --directory build-web/web "$port" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
sleep 1
for preset in desktop mobile; do
    for attempt in 1 2 3; do
        report=build-web/artifacts/lighthouse-$preset.json
        CHROME_PATH=/usr/bin/chromium tests/web/node/node_modules/.bin/lighthouse \
            "http://127.0.0.1:$port/index.html" $([ "$preset" = desktop ] && echo --preset=desktop) \
            --output=json --output-path="$report" --quiet \
            --only-categories=performance,accessibility,best-practices \
            --chrome-flags="--headless --no-sandbox --disable-gpu --user-data-dir=$(mktemp -d)"
        python3 - "$report" "$preset" <<'PY' && break
import json, sys
report, preset = json.load(open(sys.argv[1])), sys.argv[2]
scores = {name: round(100 * c["score"]) for name, c in report["categories"].items()}
shift = report["audits"]["cumulative-layout-shift"]["numericValue"]
print("Lighthouse", preset, scores, "layout shift %.3f" % shift)
least = 100 if preset == "desktop" else 98
sys.exit(0 if scores["performance"] >= least and scores["accessibility"] == 100 and
         scores["best-practices"] == 100 and shift < 0.05 else 1)
PY
        [ "$attempt" -lt 3 ] || { echo "Lighthouse $preset below its targets" >&2; exit 1; }
    done
done
