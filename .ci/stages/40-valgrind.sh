#!/usr/bin/env bash
# The Release program of the main CI step under valgrind's memcheck, once in each of the three
# ways of drawing. Any memory error or leak fails the stage.
set -euo pipefail
cd "$(dirname "$0")/../.."

tools/install-build-deps valgrind
program=$(realpath build/combogen)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '\r\n7, 23; 45 7\r\nignored 1 2\r\n' >"$work/fixed.txt"

status=0
check() {
    local name=$1 lines=$2
    shift 2
    echo "-- $name: $*"
    if ! timeout 600 valgrind --quiet --error-exitcode=1 --leak-check=full \
        --errors-for-leak-kinds=definite,indirect,possible \
        "$program" "$@" 2>"$work/$name.log"; then
        status=1
    fi
    # Clean, the run prints nothing (valgrind is quiet too) and writes every line.
    local written=0
    [ -f "$work/$name.txt" ] && written=$(wc -l <"$work/$name.txt")
    if [ -s "$work/$name.log" ] || [ "$written" -ne "$lines" ]; then
        echo "$written of $lines lines written"
        cat "$work/$name.log"
        status=1
    fi
}
check plain 20 20 49 6 1 "$work/plain.txt"
check all_fixed 20 20 80 20 0 "$work/all_fixed.txt" "$work/fixed.txt"
check some_fixed 20 20 80 20 1 "$work/some_fixed.txt" "$work/fixed.txt" 1 2
exit "$status"
