#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each from a copy of its seed corpus (nothing
# found is written back into the repository): the older targets for FUZZ_SECONDS (45 by
# default), the command line and the filter engine for FUZZ_RUNS executions (a million by
# default; two to three minutes for the command line, about four for the filter engine, on two
# cores). A crash, a sanitizer report or a failed check fails the stage; the input that caused it
# is kept in build-fuzz/artifacts/<target>/ (an absolute prefix: the command-line target works in
# a folder of its own) and replays with: build-fuzz/tests/fuzz/<target> <file>.
set -euo pipefail
cd "$(dirname "$0")/../.."

tools/install-build-deps clang libclang-rt-14-dev
seconds=${FUZZ_SECONDS:-45}
runs=${FUZZ_RUNS:-1000000}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCOMBOGEN_BUILD_TESTS=OFF -DCOMBOGEN_BUILD_FUZZERS=ON
cmake --build build-fuzz -j2 --target integer_text_fuzzer fixed_path_fuzzer draw_fuzzer \
    command_line_fuzzer passing_sets_fuzzer

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
for target in integer_text_fuzzer fixed_path_fuzzer draw_fuzzer command_line_fuzzer \
    passing_sets_fuzzer; do
    cp -r "tests/fuzz/corpus/$target" "$work/$target"
    artifacts=$PWD/build-fuzz/artifacts/$target
    rm -rf "$artifacts" && mkdir -p "$artifacts"
    echo "-- $target"
    # The newer targets count executions: a slow machine takes longer, never fewer runs.
    limit=(-max_total_time="$seconds")
    budget=$((seconds + 120))
    case $target in
        command_line_fuzzer)
            limit=(-runs="$runs" -dict="$PWD/tests/fuzz/command_line.dict") budget=900 ;;
        passing_sets_fuzzer) limit=(-runs="$runs") budget=900 ;;
    esac
    if ! timeout "$budget" "build-fuzz/tests/fuzz/$target" "${limit[@]}" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$work/$target" >"$work/$target.log" 2>&1
    then
        status=1
        tail -n 60 "$work/$target.log"
        for artifact in "$artifacts"/*; do
            if [ -e "$artifact" ]; then
                echo "input ${artifact##*/}:"
                od -A d -c "$artifact" | head -n 20
            fi
        done
    fi
    # The last status line: executions and elapsed time, then the stats of the run.
    grep -E '^(#[0-9]+|Done [0-9]+ runs)' "$work/$target.log" | tail -n 2 || true
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' \
        "$work/$target.log" || true
done
exit "$status"
