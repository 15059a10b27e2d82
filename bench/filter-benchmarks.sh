#!/usr/bin/env bash
# Filtered runs across the games, each against its targets:
#   - set-up: the wall time of a one-line run (/usr/bin/time), under 1 s;
#   - peak resident memory of that run (/usr/bin/time -v), under 256 MiB;
#   - instructions per further line (valgrind --tool=callgrind, the difference between an
#     N-line and a one-line run), at most 3 times those of the same run without the filters.
# Usage: bench/filter-benchmarks.sh [--lines N] [PROGRAM]
#   --lines N  lines of the longer callgrind run (default 2001)
#   PROGRAM    a built combogen (default: a Release build in $BUILD_DIR, default build-bench)
# Exits 1 when a target is missed.
set -euo pipefail
cd "$(dirname "$0")/.."

lines=2001
if [ "${1:-}" = --lines ]; then
    lines=$2
    shift 2
fi
if [ $# -gt 0 ]; then
    program="$(realpath "$1")"
else
    build="${BUILD_DIR:-build-bench}"
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" -j2 --target combogen >/dev/null
    program="$(pwd)/$build/combogen"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '7 23\n' >fixed2.txt
printf '3 9 27 33 61\n' >fixed5.txt
printf '2 11 40 47\n' >fixed4.txt
printf '5 15 25 35 45 55 65 75 10 20\n' >fixed10.txt
printf '1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19\n' >fixed19.txt

# filters|other options|arguments after the line count
cases=(
    "--sum 700:720 --odd 8:12 --max-run 3||80 20 1 out.txt"
    "--sum 810:810 --odd 10:10 --max-run 2||80 20 1 out.txt"
    "--max-run 42 --sum 1189:1190||49 47 0 out.txt"
    "--sum 100:110 --odd 3:3 --max-run 1 --exclude 13||49 6 1 out.txt"
    "--sum 140:160 --max-run 2||49 6 1 out.txt fixed2.txt"
    "--sum 300:320 --odd 1:1 --max-run 2|--bonus 1:26|69 5 1 out.txt"
    "--sum 300:500 --odd 4:6 --max-run 2|--unique|80 10 1 out.txt"
    "--sum 700:720 --odd 8:12 --max-run 3||80 20 1 out.txt fixed10.txt 0 9"
    "--sum 700:720 --odd 8:12 --max-run 3||80 20 1 out.txt fixed19.txt 0 19"
    "--sum 700:720 --odd 8:12 --max-run 3||80 20 0 out.txt fixed10.txt"
    "--sum 810:810 --odd 10:10 --max-run 2|--unique|80 20 1 out.txt fixed5.txt 0 3"
    "--sum 1600:1640 --odd 18:22 --max-run 8||80 40 1 out.txt"
    "--sum 1500:1520 --odd 20:20 --max-run 4||80 40 0 out.txt"
    "--sum 1180:1190 --odd 23:24 --max-run 20||49 47 0 out.txt fixed2.txt"
    "--sum 1150:1200 --max-run 30||49 47 1 out.txt fixed4.txt 2 4"
    "--sum 2400:2500 --odd 28:32 --max-run 8||80 60 0 out.txt"
    "--sum 810:810 --odd 10:10 --max-run 2||80 20 1 out.txt fixed19.txt 0 19"
    "--sum 2400:2500 --odd 28:32 --max-run 20||80 60 0 out.txt"
    "--sum 810:810 --odd 10:10 --max-run 2|--unique|80 20 1 out.txt fixed19.txt 0 19"
    "--sum 700:720 --odd 8:12 --max-run 3|--unique|80 20 1 out.txt fixed19.txt 0 19"
    "--sum 700:720 --odd 8:12 --max-run 3|--unique|80 20 1 out.txt"
)

instructions() {  # instructions <arguments...>: instructions of the whole process
    valgrind --tool=callgrind --callgrind-out-file=callgrind.out "$program" "$@" 2>&1 |
        sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}

per_line() {  # per_line <options and arguments after the line count...>
    local one many
    one=$(instructions --seed bench "${@:1:$#-1}" 1 ${@: -1})
    many=$(instructions --seed bench "${@:1:$#-1}" "$lines" ${@: -1})
    echo $(((many - one) / (lines - 1)))
}

missed=0
echo "load before: $(uptime)"
echo "| run | set-up s (< 1) | peak MiB (< 256) | instructions a line | without filters | ratio (<= 3) |"
echo "|---|---|---|---|---|---|"
for entry in "${cases[@]}"; do
    IFS='|' read -r filters options args <<<"$entry"
    read -r -a f <<<"$filters"
    read -r -a o <<<"$options"
    read -r -a a <<<"$args"
    # set-up and memory of a one-line run
    /usr/bin/time -f '%e %M' -o time.txt "$program" --seed bench "${o[@]}" "${f[@]}" 1 "${a[@]}"
    read -r seconds kib <time.txt
    with=$(per_line "${o[@]}" "${f[@]}" "${a[*]}")
    if [ ${#o[@]} -gt 0 ]; then
        without=$(per_line "${o[@]}" "${a[*]}")
    else
        without=$(per_line "${a[*]}")
    fi
    ratio=$(python3 -c "print('%.2f' % ($with / $without))")
    ok=$(python3 -c "print(int($seconds < 1 and $kib < 262144 and $with <= 3 * $without))")
    [ "$ok" -eq 1 ] || missed=1
    echo "| $options $filters $args | $seconds | $((kib / 1024)) | $with | $without | $ratio$([ "$ok" -eq 1 ] || echo ' MISSED') |"
done
echo "load after: $(uptime)"
[ "$missed" -eq 0 ] && echo "every target met" || { echo "at least one target was missed"; exit 1; }
