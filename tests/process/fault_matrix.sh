#!/usr/bin/env bash
# Faults from outside the program: a failing or stingy random source, refused blocks, a failed
# close, size limits, odd fixed-number files, numbers too large to convert, a reader that goes
# away. Faults are injected with strace; -P on the absolute output path limits the counting
# (and the injection) to the output file's own calls.
. "$(dirname "$0")/cli_support.sh"

OUT="$(pwd -P)/out.txt"  # physical, as strace sees the open file
# 20 lines of '01 02 ... 10': 620 bytes, that is four full blocks and 108 bytes at close.
LINE='01 02 03 04 05 06 07 08 09 10\r\n'
# shellcheck disable=SC2059
printf "$LINE%.0s" $(seq 20) >all620.bin

# call_ordinal SYSCALL TEXT: the ordinal, among the SYSCALL calls in strace.log, of the first
# whose line contains TEXT; the loader and the C library make calls of their own.
call_ordinal() {
    awk -v call="$1(" -v text="$2" \
        'index($0, call) { n++; if (index($0, text)) { print n; exit } }' strace.log
}

run_traced -e trace=getrandom -- 1 49 6 1 out.txt
SEED_CALL=$(call_ordinal getrandom ', 2068, 0)')
check test -n "$SEED_CALL"

# The random source: a failure is a silent stop before the output file is touched.
while read -r injection; do
    CASE="random source: $injection"
    rm -f out.txt
    run_traced -e trace=getrandom -e "inject=getrandom:$injection" -- 3 49 6 1 out.txt
    expect_status 0
    expect_quiet
    check test ! -e out.txt
    printf 'kept' >out.txt
    run_traced -e trace=getrandom -e "inject=getrandom:$injection" -- 3 49 6 1 out.txt
    expect_status 0
    expect_quiet
    expect_bytes out.txt 'kept'
done <<CASES
error=EIO:when=$SEED_CALL
error=ENOSYS
CASES

CASE="random source: an interrupted read is repeated"
run_traced -e trace=getrandom -e "inject=getrandom:error=EINTR:when=$SEED_CALL" -- 3 49 6 1 out.txt
expect_status 0
expect_quiet
check lines_are_combinations out.txt 3 6 49 1

# Injected counts leave the buffer as it was (zero), so the seed is the all-zero image and
# the lines are known; the requests show the loop asking for exactly the rest each time.
CASE="random source: short counts are read on to 2068 bytes"
run_traced -e trace=getrandom -e "inject=getrandom:retval=517:when=$SEED_CALL+" -- 3 49 6 1 out.txt
expect_status 0
expect_quiet
expect_bytes out.txt '05 16 17 18 25 28\r\n06 09 26 36 40 44\r\n05 08 16 20 37 48\r\n'
requests=$(sed -n -E 's/.*, ([0-9]+), 0\) = 517 \(INJECTED\)$/\1/p' strace.log | tr '\n' ' ')
check test "$requests" = '2068 1551 1034 517 '

# Refused blocks of the output file: the file keeps exactly the blocks accepted before, no
# further block is tried, and a refused last block leaves the file unclosed.
while read -r block code kept message; do
    CASE="block $block refused with $code"
    run_traced -P "$OUT" -e trace=write,close -e "inject=write:error=$code:when=$block" -- \
        20 10 10 1 out.txt
    expect_status 1
    check test ! -s stdout.txt
    expect_report EInOutError "$message"
    head -c "$kept" all620.bin >kept.bin
    check cmp -s out.txt kept.bin
    check test "$(grep -c 'write(' strace.log)" -eq "$block"
    check test "$(grep -c 'close(' strace.log)" -eq 0
done <<'CASES'
1 EIO 0 I/O error 5.
4 EIO 384 I/O error 5.
5 EIO 512 I/O error 5.
2 ENOSPC 128 Disk full.
2 EDQUOT 128 Disk full.
3 EACCES 256 File access denied.
3 EROFS 256 File access denied.
CASES

CASE="the close of the output file fails"
run_traced -P "$OUT" -e trace=close -e inject=close:error=EIO -- 20 10 10 1 out.txt
expect_status 1
expect_report EInOutError 'I/O error 5.'
check cmp -s out.txt all620.bin

# A file size limit of 1024 bytes: the ninth block is refused with EFBIG and SIGXFSZ must not
# end the process.
CASE="a file size limit keeps whole blocks"
(ulimit -f 1 && exec "$PROGRAM" 40 10 10 1 out.txt) >stdout.txt 2>stderr.txt
STATUS=$?
expect_status 1
expect_report EInOutError 'I/O error 27.'
# shellcheck disable=SC2059
printf "$LINE%.0s" $(seq 40) | head -c 1024 >kept.bin
check cmp -s out.txt kept.bin

# A directory or a missing file as the fixed-number file: fixed_cli.sh.
CASE="fixed-number file: a FIFO fed in pieces"
mkfifo fixed.fifo
timeout 10 bash -c '{ printf "\r\n7 "; sleep 0.2; printf "49\r\nignored 1 2 3\r\n"; } >fixed.fifo' &
feeder=$!
run 5 49 6 1 out.txt fixed.fifo
wait "$feeder"
expect_status 0
expect_quiet
check lines_are_combinations out.txt 5 6 49 1
check test "$(grep -c -E '(^| )07 .* 49'$'\r''$' out.txt)" -eq 5

CASE="a fixed number too large to convert"
printf '12 2147483648\r\n' >large.txt
rm -f out.txt
run 3 49 6 1 out.txt large.txt
expect_status 1
check test ! -s stdout.txt
expect_report EConvertError "'2147483648' is not a valid integer value."
check test ! -e out.txt
printf 'kept' >out.txt
run 3 49 6 1 out.txt large.txt
expect_status 1
expect_bytes out.txt 'kept'

CASE="a report cut after 1024 characters"
printf '1%.0s' $(seq 1100) >digits.txt
run 3 49 6 1 out.txt digits.txt
expect_status 1
{
    printf "Exception EConvertError in module %s at XXXXXXXX.\r\n'" "$(basename "$PROGRAM")"
    cat digits.txt
} | head -c 1024 >expected.bin
printf '\r\n' >>expected.bin
LC_ALL=C sed -E '1s/ at [0-9A-F]{8}\.\r$/ at XXXXXXXX.\r/' stderr.txt >report.bin
check cmp -s report.bin expected.bin
check test "$(wc -c <stderr.txt)" -eq 1026

# A reader that goes away: with the default disposition SIGPIPE ends the run without a word;
# where SIGPIPE is ignored, the refused write is reported like any other.
CASE="SIGPIPE ends the run quietly"
env --default-signal=PIPE "$PROGRAM" 100000 49 6 1 /dev/stdout 2>stderr.txt | head -c 1 >/dev/null
STATUS=${PIPESTATUS[0]}
expect_status 141
check test ! -s stderr.txt

CASE="an ignored SIGPIPE gives a reported EPIPE"
env --ignore-signal=PIPE "$PROGRAM" 100000 49 6 1 /dev/stdout 2>stderr.txt | head -c 1 >/dev/null
STATUS=${PIPESTATUS[0]}
expect_status 1
expect_report EInOutError 'I/O error 32.'

# Rounds computed ahead on a second thread (a run with options that keep the draws, on two
# processors, one of them free) against the same run kept to one processor: the same bytes, and
# a refused block leaves the same blocks and the same report. On a machine with no processor
# free both runs keep to one thread; the unit test covers the thread whatever the load.
if command -v taskset >/dev/null && [ "$(nproc)" -ge 2 ]; then
    while read -r size lines block extra; do
        CASE="rounds ahead: --block-size $size, $lines lines, block $block refused ${extra:-}"
        inject=()
        [ "$block" -gt 0 ] && inject=(-e "inject=write:error=EIO:when=$block")
        # shellcheck disable=SC2086
        args=(--block-size "$size" --seed ahead ${extra:-} "$lines" 49 6 1 out.txt)
        # LeakSanitizer cannot work under ptrace, as in run_traced.
        ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
            taskset -c 0 strace -f -qq -o strace.log -P "$OUT" -e trace=write "${inject[@]}" \
            "$PROGRAM" "${args[@]}" >stdout.txt 2>one.txt
        one=$?
        mv out.txt one.bin
        run_traced -P "$OUT" -e trace=write "${inject[@]}" -- "${args[@]}"
        check test "$STATUS" -eq "$one"
        check cmp -s out.txt one.bin
        check cmp -s stderr.txt one.txt
        if [ "$block" -gt 0 ]; then
            expect_status 1
            check test "$(stat -c %s out.txt)" -eq $(((block - 1) * size))
        else
            expect_status 0
        fi
    done <<'CASES'
4096 100000 200
65536 100000 0
128 54321 8000
128 54321 0 --lf
1000 7 0
CASES
fi

finish
