#!/usr/bin/env bash
# Options as the process sees them: help, version, errors, reasons for a stop, seeds, line ends
# and block sizes. None of them may change what a run without them does.
. "$(dirname "$0")/cli_support.sh"

CASE="--help and --version go to standard output"
run --help
expect_status 0
check grep -q '^Usage: combogen \[OPTION\]' stdout.txt
check test ! -s stderr.txt
run --version
expect_status 0
check grep -qx 'combogen [0-9]*\.[0-9]*\.[0-9]*' stdout.txt

printf 'short' >short.bin
# A bad option or value: two lines on standard error, status 2, no file.
while IFS='|' read -r args message; do
    CASE="bad option: $args"
    rm -f out.txt
    eval "run $args"
    expect_status 2
    check test ! -s stdout.txt
    expect_bytes stderr.txt "combogen: $message\nTry 'combogen --help' for more information.\n"
    check test ! -e out.txt
done <<'CASES'
--frobnicate 1 6 6 1 out.txt|unknown option '--frobnicate'
--block-size 64 1 6 6 1 out.txt|--block-size '64' is not a whole number from 128 to 1048576
--seed-file missing.bin 1 6 6 1 out.txt|cannot open seed file 'missing.bin': No such file or directory
--seed-file short.bin 1 6 6 1 out.txt|seed file 'short.bin' holds 5 bytes; a seed file holds 2068
CASES

CASE="--explain: one line, status 2, no file; without it the same run stops silently"
printf 'kept' >out.txt
run --explain 10 6 49 1 out.txt
expect_status 2
expect_bytes stderr.txt 'combogen: pick count 49 is more than the pool of 6\n'
expect_bytes out.txt 'kept'
expect_silent_stop "--lf 10 6 49 1 out.txt"

CASE="--seed: the same text gives the same bytes on every platform"
run --seed combogen 3 49 6 0 out.txt
expect_status 0
expect_quiet
expect_bytes out.txt '42 03 39 27 13 23\r\n07 16 09 19 20 48\r\n07 01 13 34 23 09\r\n'

CASE="--seed-file of 2068 zero bytes is the zero seed"
head -c 2068 /dev/zero >zero.bin
run --seed-file zero.bin 3 49 6 1 out.txt
expect_status 0
expect_bytes out.txt '05 16 17 18 25 28\r\n06 09 26 36 40 44\r\n05 08 16 20 37 48\r\n'

CASE="--lf: line feeds alone"
run --lf --seed-file=zero.bin 2 49 6 1 out.txt
expect_bytes out.txt '05 16 17 18 25 28\n06 09 26 36 40 44\n'

CASE="--save-seed then --seed-file replays the run"
run --save-seed seed.bin 50 80 20 0 first.txt
expect_status 0
expect_quiet
check test "$(stat -c '%a %s' seed.bin)" = "600 2068"
run --seed-file seed.bin 50 80 20 0 again.txt
check cmp -s first.txt again.txt

CASE="--save-seed: a run that stops leaves no seed file"
rm -f seed.bin
run --save-seed seed.bin 10 49 6 1 no/such/folder/out.txt
expect_status 0
check test ! -e seed.bin
check test -z "$(ls seed.bin.* 2>/dev/null)"

CASE="--block-size: whole blocks of that size, the rest at close"
run_traced -e trace=write -- --block-size 1000 100 49 6 1 blocks.txt
expect_status 0
check test "$(grep -c -E 'write\([0-9]+, .*, 1000\) += 1000$' strace.log)" -eq 1
check test "$(grep -c -E 'write\([0-9]+, .*, 900\) += 900$' strace.log)" -eq 1

CASE="--block-size: a refused second block leaves the first"
run_traced -e trace=write -e inject=write:error=EIO:when=2 -- --block-size 256 --seed-file zero.bin 40 49 6 1 blocks.txt
expect_status 1
expect_report EInOutError 'I/O error 5.'
run --seed-file zero.bin 40 49 6 1 whole.txt
head -c 256 whole.txt >first256.bin
check cmp -s blocks.txt first256.bin

finish
