#!/usr/bin/env bash
# Random option combinations from a fixed seed against the release build of the README's test
# command (build/) and, when stage 20 has made it, the sanitizer build: about a minute in all.
# A failing case prints its command line, which replays in any folder with the same files.
set -euo pipefail
cd "$(dirname "$0")/../.."

[ -x build/combogen ] || { cmake -S . -B build && cmake --build build -j2; }
python3 tests/process/random_options.py build/combogen 1000 15
if [ -x build-asan/combogen ]; then
    ASAN_OPTIONS="halt_on_error=1:exitcode=86" UBSAN_OPTIONS="halt_on_error=1" \
        python3 tests/process/random_options.py build-asan/combogen 200 16
fi
