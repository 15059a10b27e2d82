#!/usr/bin/env bash
# The whole test suite, the process-level suites included, against a build with
# AddressSanitizer and UndefinedBehaviorSanitizer. Every report is fatal (status 86, which no
# test expects); AddressSanitizer's and LeakSanitizer's are also kept as files, so that they
# fail this stage even where a test looked at neither the status nor the streams.
set -euo pipefail
cd "$(dirname "$0")/../.."

tools/install-build-deps
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-O1 ${CXXFLAGS:-} $flags" \
    -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags"
cmake --build build-asan -j2

reports=$(realpath build-asan)/sanitizer-reports
rm -rf "$reports" && mkdir -p "$reports"
common="halt_on_error=1:exitcode=86:log_path=$reports/report"
# LeakSanitizer cannot run under ptrace: run_traced in tests/process turns it off for traced runs.
export ASAN_OPTIONS="$common:detect_leaks=1:strict_string_checks=1:check_initialization_order=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="$common:print_stacktrace=1"

status=0
timeout 1200 ctest --test-dir build-asan --output-on-failure -j2 || status=$?
if [ -n "$(ls -A "$reports")" ]; then
    echo "sanitizer reports:" >&2
    cat "$reports"/* >&2
    status=1
fi
exit "$status"
