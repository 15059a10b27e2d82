#!/usr/bin/env bash
# Whole-process benchmarks of combogen, each figure against its target:
#   - instructions (valgrind --tool=callgrind, repeatable): start-up alone and the cost of a
#     further line, as the difference between a 100,001-line and a one-line run;
#   - heap allocations (valgrind's heap summary): the same for 10 lines as for 100,000;
#   - peak resident memory (/usr/bin/time -v) of every run below;
#   - median wall time (hyperfine) of 1,000,000-line runs and of start-up, and of a plain
#     Python peer writing the same lines, with the ratio;
#   - the same for a plain C++ peer (bench/peer_mt.cpp: std::mt19937_64, 64 KiB writes) and for
#     the generator-only floor (bench/floor_generator.cpp: the generator's outputs of the run and
#     nothing else) against combogen --block-size 65536, with every ratio and the load;
#   - the line options (filters, --unique, --bonus) against the same runs without them:
#     instructions per further line, wall times, and the peak memory of --unique.
# Usage: bench/run-benchmarks.sh [--quick] [--runs N] [--line-options] [--web] [--wheels]
#   --quick         only the repeatable figures (instructions, allocations, memory): no wall times
#   --runs N        timed runs per command (default 10; the 13,983,816-line runs take at most 3)
#   --line-options  only the line options' benchmarks
#   --wheels        only the wheel search against the best wheels known (lines, ratio, seconds,
#                   each wheel checked set by set); WHEEL_SEED picks the seed (default 1)
#   --web           only the web page's figures: its size, and 1,000,000 lines of 6 of 49 made
#                   in headless Chromium (in the worker, to the downloadable file) against this
#                   program's wall time, in turns (needs emscripten, chromium, chromium-driver
#                   and python3-selenium; builds the page in $WEB_BUILD_DIR, default build-web)
# Builds a Release combogen in $BUILD_DIR (default build-bench). Exits 1 when a target is missed.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
runs=10
web=0
line_options_only=0
wheels=0
while [ $# -gt 0 ]; do
    case "$1" in
        --quick) quick=1 ;;
        --runs) runs="$2"; shift ;;
        --line-options) line_options_only=1 ;;
        --wheels) wheels=1 ;;
        --web) web=1 ;;
        *) echo "usage: $0 [--quick] [--runs N] [--line-options] [--web] [--wheels]" >&2; exit 2 ;;
    esac
    shift
done

if [ "$wheels" -eq 1 ]; then
    build="${BUILD_DIR:-build-bench}"
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCOMBOGEN_BUILD_BENCHMARKS=ON >/dev/null
    cmake --build "$build" -j2 --target combogen_wheel_benchmarks >/dev/null
    echo "== wheels (load average: $(cut -d' ' -f1-3 /proc/loadavg))"
    "$build/bench/combogen_wheel_benchmarks" "${WHEEL_SEED:-1}"
    exit
fi

if [ "$web" -eq 1 ]; then
    tools/install-build-deps emscripten node-terser chromium chromium-driver python3-selenium
    build="${BUILD_DIR:-build-bench}"
    web_build="${WEB_BUILD_DIR:-build-web}"
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" -j2 --target combogen >/dev/null
    cmake -S . -B "$web_build" -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake >/dev/null
    cmake --build "$web_build" -j2 >/dev/null
    echo "== web page"
    echo "browser: $(chromium --version 2>/dev/null | head -1), emscripten $(em++ --version | sed -n 's/.*) \([0-9.]*\).*/\1/p' | head -1)"
    size=$(cat "$web_build"/web/* | wc -c)
    gzipped=$(cat "$web_build"/web/* | gzip -9 | wc -c)
    echo "page and WebAssembly: $size bytes ($gzipped gzipped); target under 350,000: $( [ "$size" -lt 350000 ] && echo met || echo MISSED)"
    figure=$(/usr/bin/python3 tests/web/browser_test.py --page "$web_build/web" \
        --native "$build/combogen" --bench 1000000 --rounds "${WEB_ROUNDS:-5}")
    ratio=${figure##* }
    echo "1,000,000 lines of 6 of 49 sorted, median of ${WEB_ROUNDS:-5} rounds: $figure"
    echo "page / native: $ratio (target at most 3): $(python3 -c "print('met' if $ratio <= 3 else 'MISSED')")"
    [ "$size" -lt 350000 ] && python3 -c "import sys; sys.exit(0 if $ratio <= 3 else 1)"
    exit
fi

tools/install-build-deps valgrind time hyperfine python3 libbenchmark-dev

build="${BUILD_DIR:-build-bench}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCOMBOGEN_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j2 --target combogen combogen_benchmarks peer_mt floor_generator >/dev/null
program="$(pwd)/$build/combogen"
floor="$(pwd)/$build/bench/floor_generator"
peer="$(pwd)/bench/peer.py"
peer_mt="$(pwd)/$build/bench/peer_mt"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '7 23\r\n' >fixed2.txt
printf '3 9 27 33 61\r\n' >fixed5.txt

# name|arguments after the line count
workloads=(
    "6 of 49 sorted|49 6 1 out.txt"
    "20 of 80 unsorted|80 20 0 out.txt"
    "six arguments, 6 of 49 sorted|49 6 1 out.txt fixed2.txt"
    "eight arguments, 20 of 80 sorted|80 20 1 out.txt fixed5.txt 1 3"
)

missed=0
check() {  # check <figure and target> <ok: 0|1>
    if [ "$2" -eq 1 ]; then echo "$1: met"; else echo "$1: MISSED"; missed=1; fi
}

echo "== machine"
echo "nproc: $(nproc)"
echo "cpu: $(LC_ALL=C lscpu | sed -n 's/^Model name: *//p' | head -1)"
echo "os: $(. /etc/os-release && echo "$PRETTY_NAME"), kernel $(uname -r)"
echo "compiler: $(c++ --version | head -1)"
echo

instructions() {  # instructions <arguments...>: instructions of the whole process
    valgrind --tool=callgrind --callgrind-out-file=callgrind.out "$program" "$@" 2>&1 |
        sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}

allocations() {  # allocations <arguments...>: heap blocks allocated by the whole process
    valgrind "$program" "$@" 2>&1 | sed -n 's/.*total heap usage: \([0-9,]*\) allocs.*/\1/p' |
        tr -d ,
}

# median_walls ROUNDS COMMAND...: each command once per round, in turn (the load drifts), after a
# warm-up round; prints each command's median wall time in seconds, one a line.
median_walls() {
    local rounds=$1
    shift
    rm -f round-*.json
    for round in $(seq 0 "$rounds"); do
        hyperfine -N --style none --runs 1 --export-json "round-$round.json" "$@" >/dev/null
    done
    rm round-0.json
    python3 - "$#" <<'PY'
import glob, json, statistics, sys
rounds = [json.load(open(f))["results"] for f in sorted(glob.glob("round-*.json"))]
for i in range(int(sys.argv[1])):
    print("%.4f" % statistics.median(r[i]["times"][0] for r in rounds))
PY
    rm -f round-*.json
}

ratio_at_most() {  # ratio_at_most A B LIMIT: prints A/B; status 0 when it is at most LIMIT
    python3 -c "import sys; r = $1 / $2; print('%.2f' % r); sys.exit(0 if r <= $3 else 1)"
}

line_option_benchmarks() {
    echo "== line options: instructions per further line (callgrind), against the same run without"
    local base one many plain_line
    for pair in "--sum 100:200 --odd 2:4|10001" "--sum 21:21|1001" "--bonus 1:26|10001"; do
        read -r -a opts <<<"${pair%|*}"
        many_lines=${pair#*|}
        one=$(instructions 1 49 6 1 out.txt)
        many=$(instructions "$many_lines" 49 6 1 out.txt)
        plain_line=$(((many - one) / (many_lines - 1)))
        one=$(instructions "${opts[@]}" 1 49 6 1 out.txt)
        many=$(instructions "${opts[@]}" "$many_lines" 49 6 1 out.txt)
        per_line=$(((many - one) / (many_lines - 1)))
        if ratio=$(ratio_at_most "$per_line" "$plain_line" 3); then ok=1; else ok=0; fi
        if [ "${opts[0]}" = --bonus ]; then
            echo "${opts[*]}, 6 of 49 sorted: $per_line a line, plain $plain_line: ratio $ratio"
        else
            check "${opts[*]}, 6 of 49 sorted: $per_line a line, plain $plain_line: ratio $ratio (target at most 3)" "$ok"
        fi
    done
    echo "start-up with --sum 21:21 (the counts included): $(instructions --sum 21:21 1 49 6 1 out.txt)"
    echo

    echo "== line options: peak resident memory (/usr/bin/time -v)"
    kib=$(peak_kib --unique 13983816 49 6 1 out.txt)
    check "--unique, all 13,983,816 lines of 6 of 49: $kib KiB (target under 262144)" \
        $((kib < 262144))
    kib=$(peak_kib --sum 100:200 --odd 2:4 1000000 49 6 1 out.txt)
    echo "--sum 100:200 --odd 2:4, 1,000,000 lines: $kib KiB"
    echo

    [ "$quick" -eq 1 ] && return
    echo "== line options: median wall time (hyperfine, commands in turn)"
    mapfile -t walls < <(median_walls "$runs" \
        "$program 1000000 49 6 1 out.txt" \
        "$program --sum 100:200 --odd 2:4 1000000 49 6 1 out.txt" \
        "$program --bonus 1:26 1000000 49 6 1 out.txt" \
        "$program 1000 49 6 1 out.txt" \
        "$program --sum 21:21 1000 49 6 1 out.txt")
    echo "1,000,000 lines of 6 of 49 sorted: ${walls[0]} s"
    if ratio=$(ratio_at_most "${walls[1]}" "${walls[0]}" 3); then ok=1; else ok=0; fi
    check "--sum 100:200 --odd 2:4, 1,000,000 lines: ${walls[1]} s, ratio $ratio (target at most 3)" "$ok"
    echo "--bonus 1:26, 1,000,000 lines: ${walls[2]} s, ratio $(ratio_at_most "${walls[2]}" "${walls[0]}" 99)"
    echo "1,000 lines of 6 of 49 sorted: ${walls[3]} s"
    if ratio=$(ratio_at_most "${walls[4]}" 1 0.5); then ok=1; else ok=0; fi
    check "--sum 21:21, 1,000 lines: ${walls[4]} s (target well under a second: at most 0.5 s)" "$ok"
    mapfile -t walls < <(median_walls "$((runs < 3 ? runs : 3))" \
        "$program 13983816 49 6 1 out.txt" "$program --unique 13983816 49 6 1 out.txt")
    if ratio=$(ratio_at_most "${walls[1]}" "${walls[0]}" 1.5); then ok=1; else ok=0; fi
    check "--unique, all 13,983,816 lines of 6 of 49: ${walls[1]} s, without it ${walls[0]} s: ratio $ratio (target at most 1.5; load average $(cut -d' ' -f1-3 /proc/loadavg))" "$ok"
    echo "load average afterwards: $(cut -d' ' -f1-3 /proc/loadavg)"
    echo
}

peak_kib() {
    /usr/bin/time -v "$program" "$@" 2>&1 >/dev/null |
        sed -n 's/.*Maximum resident set size (kbytes): \([0-9]*\).*/\1/p'
}

if [ "$line_options_only" -eq 1 ]; then
    line_option_benchmarks
    if [ "$missed" -ne 0 ]; then
        echo "at least one target was missed"
        exit 1
    fi
    echo "every target met"
    exit 0
fi

echo "== instructions (callgrind)"
startup=$(instructions 1 49 6 1 out.txt)
check "start-up, a one-line run of 6 of 49: $startup (target at most 28,000,000)" \
    $((startup <= 28000000))
check "start-up, a one-line run of 6 of 49: $startup (limit without options: at most 20,500,000)" \
    $((startup <= 20500000))
for workload in "${workloads[@]}"; do
    name="${workload%%|*}"
    read -r -a args <<<"${workload#*|}"
    one=$(instructions 1 "${args[@]}")
    many=$(instructions 100001 "${args[@]}")
    per_line=$(((many - one) / 100000))
    if [ "$name" = "6 of 49 sorted" ]; then
        check "per further line, $name: $per_line (target at most 2,400)" $((per_line <= 2400))
        check "per further line, $name: $per_line (limit without options: at most 1,800)" \
            $((per_line <= 1800))
    else
        echo "per further line, $name: $per_line"
    fi
done
echo

echo "== heap allocations (valgrind)"
for workload in "${workloads[@]}"; do
    name="${workload%%|*}"
    read -r -a args <<<"${workload#*|}"
    few=$(allocations 10 "${args[@]}")
    many=$(allocations 100000 "${args[@]}")
    check "$name: $few allocations for 10 lines, $many for 100,000 (target the same)" \
        $((few == many))
done
echo

echo "== peak resident memory (/usr/bin/time -v)"
kib=$(peak_kib 1 49 6 1 out.txt)
check "start-up: $kib KiB (target under 4096)" $((kib < 4096))
for workload in "${workloads[@]}"; do
    name="${workload%%|*}"
    read -r -a args <<<"${workload#*|}"
    kib=$(peak_kib 1000000 "${args[@]}")
    check "1,000,000 lines, $name: $kib KiB (target under 4096)" $((kib < 4096))
done
echo

if [ "$quick" -eq 0 ]; then
    # The CPU is shared, so the load drifts: every round runs each command once, in turn, and the
    # figures are medians over the rounds. A first round only warms the caches. Each command
    # starts after `sync`: otherwise the system is still writing the tens of megabytes the
    # command before it left, on one of the two processors, and whichever command comes next
    # pays for it.
    echo "== median wall time (hyperfine, $runs rounds of one run each, commands in turn)"
    names=("start-up (one line of 6 of 49)")
    commands=("$program 1 49 6 1 out.txt")
    for workload in "${workloads[@]}"; do
        names+=("1,000,000 lines, ${workload%%|*}")
        commands+=("$program 1000000 ${workload#*|}")
    done
    names+=("1,000,000 lines, 6 of 49 sorted, --block-size 65536")
    commands+=("$program --block-size 65536 1000000 49 6 1 out64k.txt")
    names+=("generator-only floor (bench/floor_generator.cpp), the outputs of 1,000,000 lines of 6 of 49")
    commands+=("$floor 1000000 49 6 1 floor.txt")
    names+=("C++ peer (std::mt19937_64, 64 KiB writes), 1,000,000 lines of 6 of 49 sorted")
    commands+=("$peer_mt 1000000 49 6 1 peer_mt.txt")
    names+=("Python peer, 1,000,000 lines of 6 of 49 sorted")
    commands+=("python3 $peer 1000000 49 6 1 peer.txt")
    for round in $(seq 0 "$runs"); do
        hyperfine -N --style none --runs 1 --prepare sync --export-json "round-$round.json" \
            "${commands[@]}" >/dev/null
    done
    rm round-0.json
    mapfile -t figures < <(python3 - "${names[@]}" <<'PY'
import glob, json, statistics, sys
names = sys.argv[1:]
rounds = [json.load(open(f))["results"] for f in sorted(glob.glob("round-*.json"))]
for i, name in enumerate(names):
    wall = statistics.median(r[i]["times"][0] for r in rounds)
    least = min(r[i]["times"][0] for r in rounds)
    user = statistics.median(r[i]["user"] for r in rounds)
    system = statistics.median(r[i]["system"] for r in rounds)
    print("%.4f|%.4f|%s: %.4f s, least %.4f s (user %.3f s, system %.3f s)"
          % (wall, least, name, wall, least, user, system))
PY
    )
    for figure in "${figures[@]}"; do echo "${figure#*|*|}"; done
    load="load average $(cut -d' ' -f1-3 /proc/loadavg)"
    median() { echo "${1%%|*}"; }
    least() { local rest="${1#*|}"; echo "${rest%%|*}"; }
    ours=$(median "${figures[1]}")
    theirs=$(median "${figures[-1]}")
    ratio=$(python3 -c "print('%.1f' % ($theirs / $ours))")
    faster=$(python3 -c "print(int($theirs >= 8 * $ours))")
    check "Python peer / combogen, 1,000,000 lines of 6 of 49 sorted: $ratio (target at least 8; $load)" \
        "$faster"
    # Each ratio of medians is the target's; the ratio of the least times beside it.
    ratio_pair() {  # ratio_pair A B: "median ratio (least times: ratio)"
        python3 -c "print('%.2f (least times: %.2f)' % ($(median "$1") / $(median "$2"), $(least "$1") / $(least "$2")))"
    }
    ours_64k="${figures[-4]}"
    floor_wall="${figures[-3]}"
    peer_mt_wall="${figures[-2]}"
    if ratio_at_most "$(median "$ours_64k")" "$(median "$peer_mt_wall")" 1.0 >/dev/null; then ok=1; else ok=0; fi
    check "combogen --block-size 65536 / C++ peer, 1,000,000 lines of 6 of 49 sorted: $(ratio_pair "$ours_64k" "$peer_mt_wall") (target at most 1.0; $load)" "$ok"
    if ratio_at_most "$(median "$ours_64k")" "$(median "$floor_wall")" 1.15 >/dev/null; then ok=1; else ok=0; fi
    check "combogen --block-size 65536 / generator-only floor: $(ratio_pair "$ours_64k" "$floor_wall") (target at most 1.15; $load)" "$ok"
    echo "C++ peer / generator-only floor: $(ratio_pair "$peer_mt_wall" "$floor_wall") ($load)"
    echo "load average afterwards: $(cut -d' ' -f1-3 /proc/loadavg)"
    echo
fi

line_option_benchmarks

if [ "$missed" -ne 0 ]; then
    echo "at least one target was missed"
    exit 1
fi
echo "every target met"
