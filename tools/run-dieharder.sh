#!/usr/bin/env bash
# Runs the whole dieharder battery on the run's random stream (many hours on a small machine).
# Usage: tools/run-dieharder.sh [BUILD_DIR [OUTPUT_FILE]]   (defaults: build, dieharder-results.txt)
# The output file gets the machine's description, the command and dieharder's full table.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
output=${2:-dieharder-results.txt}
tools/install-build-deps dieharder
[ -x "$build/combogen_raw_output" ] || cmake --build "$build" --target combogen_raw_output -j2
{
    echo "date: $(date -u '+%Y-%m-%d %H:%M:%S UTC')"
    echo "cores: $(nproc)"
    echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
    echo "os: $(. /etc/os-release && echo "$PRETTY_NAME") ($(uname -sr))"
    echo "dieharder: $(dpkg-query -W -f='${Version}' dieharder 2>/dev/null || echo unknown)"
    echo "command: $build/combogen_raw_output | dieharder -a -g 200"
    echo
} > "$output"
# dieharder closes the pipe when it is done; the generator then ends on SIGPIPE.
set +o pipefail
"$build/combogen_raw_output" | dieharder -a -g 200 | tee -a "$output"
status=${PIPESTATUS[1]}
echo "finished: $(date -u '+%Y-%m-%d %H:%M:%S UTC')" >> "$output"
failed=$(grep -c 'FAILED' "$output" || true)
echo "dieharder exit status $status; FAILED results: $failed" | tee -a "$output"
[ "$status" -eq 0 ] && [ "$failed" -eq 0 ]
