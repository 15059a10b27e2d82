#!/usr/bin/env bash
# combogen.exe as a Windows process (under Wine on Linux): status, both streams, file bytes,
# the failure report, and the command line as Windows hands it over.
# Usage: windows_cli.sh COMBOGEN_EXE LAUNCH_RAW_EXE [RUNNER...]
LAUNCHER=$(realpath "$2")
. "$(dirname "$0")/cli_support.sh"
shift 2
RUNNER=("$@")
cp "$PROGRAM" combogen.exe

# run_raw [--debug] LINE: starts combogen.exe with exactly LINE as its command line (started
# with an argument vector, Wine would build the line itself, quoting as it sees fit); with
# --debug, under a debugger.
run_raw() {
    local options=()
    [ "$1" = --debug ] && options+=("$1") && shift
    printf '%s' "$1" | ${RUNNER[@]+"${RUNNER[@]}"} "$LAUNCHER" ${options[@]+"${options[@]}"} \
        combogen.exe >stdout.txt 2>stderr.txt
    STATUS=$?
}

CASE="six of six is a 19-byte file"
run 1 6 6 1 out.txt
expect_status 0
expect_quiet
expect_bytes out.txt '01 02 03 04 05 06\r\n'

# The same bytes as options_cli.sh pins for the Linux build: a seed replays on every platform.
CASE="--seed gives the same file as on Linux"
run --seed combogen 3 49 6 0 out.txt
expect_status 0
expect_quiet
expect_bytes out.txt '42 03 39 27 13 23\r\n07 16 09 19 20 48\r\n07 01 13 34 23 09\r\n'

CASE="a normal end"
run 30 49 6 0 numbers.txt
expect_status 0
expect_quiet
check lines_are_combinations numbers.txt 30 6 49 0

CASE="every line holds the fixed numbers"
printf '\r\n7, 7; 49\r\n' >fixed.txt
run 20 49 6 1 numbers.txt fixed.txt
expect_status 0
expect_quiet
check lines_are_combinations numbers.txt 20 6 49 1
check test "$(grep -c '07.*49' numbers.txt)" -eq 20

# Each of these stops silently: status 0, nothing printed, no file created, an existing
# file left as it was.
printf '1 2 3' >fixed.txt
while IFS= read -r args; do expect_silent_stop "$args"; done <<'CASES'
0 49 6 1 out.txt
5 81 6 1 out.txt
5 49 6 1x out.txt
5 49 6 1 out.txt fixed.txt 1
5 49 3 1 out.txt fixed.txt
5 49 6 1 out.txt missing.txt
5 49 6
CASES

CASE="an output file that cannot be created"
run 1 49 6 1 'no\such\folder.txt'
expect_status 0
expect_quiet

CASE="the NUL device takes every line"
run 4 49 6 1 NUL
expect_status 0
expect_quiet

CASE="too large a fixed number: the report, and the output left alone"
printf '12 2147483648' >fixed.txt
printf 'kept' >out.txt
run 1 49 6 1 out.txt fixed.txt
expect_status 1
check test ! -s stdout.txt
expect_report EConvertError "'2147483648' is not a valid integer value."
expect_bytes out.txt 'kept'

CASE="under a debugger the report is written without asking the system"
run_raw --debug 'combogen.exe 1 49 6 1 out.txt fixed.txt'
expect_status 1
check test ! -s stdout.txt
expect_report EConvertError "'2147483648' is not a valid integer value."

if [ ${#RUNNER[@]} -gt 0 ]; then
    # Wine reaches Linux's /dev/full through drive Z:; the disk-full code of Windows has no
    # text of its own.
    CASE="a full disk after the first line"
    run 3 49 6 1 'Z:\dev\full'
    expect_status 1
    check test ! -s stdout.txt
    expect_report EInOutError 'I/O error 112.'
fi

# The command line cut by the program: LINE (a printf format), then the file the run writes
# with its line count, pool size and pick count, sorted.
mkdir sub
while IFS='|' read -r line file count pool pick; do
    CASE="command line: $line"
    # shellcheck disable=SC2059
    run_raw "$(printf "$line")"
    expect_status 0
    expect_quiet
    check lines_are_combinations "$file" "$count" "$pick" "$pool" 1
    rm -f "$file"
done <<'CASES'
combogen.exe 1 6 6 1 out.txt|out.txt|1|6|6
"C:\\no such folder\\combogen.exe" 2 10 3 1 out.txt|out.txt|2|10|3
"" combogen.exe "" 2 49 6 1 "" out.txt ""|out.txt|2|49|6
combogen.exe 2"0" "4"9 6 1 "my out".txt|my out.txt|20|49|6
combogen.exe\t3\001 49\0376 1\r\nout.txt|out.txt|3|49|6
combogen.exe 2 $50 x6 +1 "unterminated.txt|unterminated.txt|2|80|6
combogen.exe 2 49 6 1 sub\\"hex".txt|sub/hex.txt|2|49|6
CASES

CASE="command line: a blank inside quotes does not separate"
run_raw 'combogen.exe 1 6 6 "1 out.txt"'
expect_status 0
expect_quiet
check test ! -e out.txt
check test ! -e '1 out.txt'

CASE="command line: code 160 is an ordinary character"
run_raw "$(printf 'combogen.exe 1 6 6 1 a\240b.txt')"
expect_status 0
expect_quiet
check test "$(find . -name 'a?*b.txt' | wc -l)" -eq 1
check test ! -e a

# Seeded filtered runs as filters_cli.sh pins them for the Linux build: counted and rechecked
# filters, --unique over the recheck, and 128-bit counts draw the same lines here.
printf '3 9 27 33 61\n' >fixed5.txt
printf '1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19\n' >fixed19.txt
while IFS='|' read -r options args digest; do
    CASE="--seed gives the same filtered lines as on Linux: $options $args"
    eval "run --seed pin $options $args"
    expect_status 0
    check test "$(sha256sum <out.txt | cut -c1-16)" = "$digest"
done <<'CASES'
--sum 810:810 --odd 10:10 --max-run 2|30 80 20 0 out.txt fixed19.txt 0 19|d51078b5dafda42c
--unique --sum 810:810 --odd 10:10 --max-run 2|30 80 20 1 out.txt fixed5.txt 0 3|a626b7a8c5ddbd8f
--sum 1500:1520 --odd 20:20 --max-run 4|30 80 40 0 out.txt|bf5d8cd6ccc7dbc3
CASES

# A seeded wheel as wheel_cli.sh pins it for the Linux build: the search counts steps, so the
# same lines come out on every platform.
CASE="--seed gives the same wheel as on Linux"
run --seed pin --wheel 4:4 200 13 6 1 out.txt
expect_status 0
check test "$(sha256sum <out.txt | cut -c1-16)" = 024726cd5c4c7a58

finish
