#!/usr/bin/env bash
# Nothing a user has is lost: every file a run names is compared with every other before
# anything is written, a stopped run leaves every file as it was, and the process keeps its
# standard streams apart from the files it opens.
. "$(dirname "$0")/cli_support.sh"

# fresh: the files of the cases below, as a user had them.
SEED=$(printf 'O%.0s' $(seq 2068))
fresh() {
    rm -rf ./*
    printf '%s' "$SEED" >s.seed
    printf '7 23 45\n' >fixed.txt
    printf '1 2\n' >fx
    printf 'kept' >out.txt
    mkdir dir
    ln -s out.txt link.txt
    ln fixed.txt hard.txt
}
# unchanged: every file of fresh as it was, and no other file.
unchanged() {
    expect_bytes s.seed "$SEED"
    expect_bytes fixed.txt '7 23 45\n'
    expect_bytes out.txt 'kept'
    check test "$(find . -path ./stdout.txt -prune -o -path ./stderr.txt -prune -o \
        -path ./expected.bin -prune -o -print | sort | tr '\n' ' ')" = \
        ". ./dir ./fixed.txt ./fx ./hard.txt ./link.txt ./out.txt ./s.seed "
}

# Two names of one file, or of one file to be: status 2, one line naming both, nothing
# written, removed or created. ($PWD is the absolute spelling.)
while IFS='|' read -r args message; do
    CASE="clash: $args"
    fresh
    rm -f new.txt
    eval "run $args"
    expect_status 2
    check test ! -s stdout.txt
    expect_bytes stderr.txt "combogen: ${message//\$WORK/$WORK}\n"
    unchanged
done <<'CASES'
--save-seed s.seed --stats out.txt 10 49 6 1 out.txt|the statistics file 'out.txt' is the output file 'out.txt'
--save-seed fixed.txt 3 49 6 1 out.txt fixed.txt|the seed file 'fixed.txt' is the fixed-number file 'fixed.txt'
--save-seed hard.txt 3 49 6 1 out.txt fixed.txt|the seed file 'hard.txt' is the fixed-number file 'fixed.txt'
--save-seed out.txt 3 49 6 1 out.txt|the seed file 'out.txt' is the output file 'out.txt'
--save-seed link.txt 3 49 6 1 "$WORK/out.txt"|the seed file 'link.txt' is the output file '$WORK/out.txt'
--seed-file s.seed 3 49 6 1 ./s.seed|the output file './s.seed' is the seed file 's.seed'
--stats ./new.txt 3 49 6 1 new.txt|the statistics file './new.txt' is the output file 'new.txt'
--chart ./st.txt --stats st.txt 3 49 6 1 new.txt|the chart file './st.txt' is the statistics file 'st.txt'
--save-seed dir/../new.txt 3 49 6 1 new.txt|the seed file 'dir/../new.txt' is the output file 'new.txt'
CASES

CASE="a dangling link and its target, not there yet"
fresh
ln -s new.txt dangling.txt
run --stats dangling.txt 3 49 6 1 new.txt
expect_status 2
expect_bytes stderr.txt "combogen: the statistics file 'dangling.txt' is the output file 'new.txt'\n"
check test ! -e new.txt

# A run that stops keeps the seed file as it was, whatever ends it.
while IFS='|' read -r status args; do
    CASE="stop keeps the seed: $args"
    fresh
    eval "run $args"
    expect_status "$status"
    unchanged
done <<'CASES'
0|--save-seed s.seed 0 49 6 1 out.txt
2|--save-seed s.seed --explain 0 49 6 1 out.txt
0|--save-seed s.seed 3 49 6 1 missing/out.txt
2|--save-seed s.seed --explain 3 49 6 1 missing/out.txt
2|--save-seed s.seed --sum 1:2 3 49 6 1 out.txt
0|--save-seed s.seed 3 49 6 1 dir
CASES

CASE="--save-seed writes a regular file, through a link to its target, never over a device"
fresh
ln -s s.seed seedlink
run --save-seed seedlink 3 49 6 1 new.txt
expect_status 0
check test -L seedlink
check test "$(wc -c <s.seed)" -eq 2068
run --seed-file s.seed 3 49 6 1 replay.txt
check cmp -s new.txt replay.txt
mkfifo fifo
ln -s /dev/null devlink
names="fifo devlink dir"
# A device node of its own (root only): a faulty run must not replace the system's.
if mknod nulldev c 1 3 2>/dev/null; then names="$names nulldev"; fi
for name in $names; do
    run --save-seed "$name" 3 49 6 1 out.txt
    expect_status 2
    expect_bytes stderr.txt "combogen: cannot write seed file '$name': it is not a regular file\n"
    expect_bytes out.txt 'kept'
done
check test -p fifo
check test -L devlink
check test -c /dev/null
if [ -e nulldev ]; then check test -c nulldev; fi

CASE="a seed file name of 250 bytes"
fresh
long=$(printf 's%.0s' $(seq 250))
run --save-seed "$long" 3 49 6 1 new.txt
expect_status 0
check test "$(wc -c <"$long")" -eq 2068
check test "$(ls -a | grep -c combogen)" -eq 0

# A word is an option only when it is "--" or "--" and a letter: any other is the line count.
while IFS='|' read -r args; do
    CASE="--digit is the first argument: $args"
    fresh
    eval "run $args"
    expect_status 0
    expect_quiet
    unchanged
done <<'CASES'
--5 49 6 1 out.txt
--1 1 1 1 out.txt fx
-- 3 49 6 1
'--$5' 49 6 1 out.txt
CASES
CASE="--explain names the line count that is not a number"
run --explain -- --5 49 6 1 out.txt
expect_status 2
expect_bytes stderr.txt "combogen: line count '--5' is not a whole number\n"

# A whole number outside the 32-bit range is said to be too large, not to be no number.
while IFS='|' read -r args message; do
    CASE="too large: $args"
    fresh
    eval "run --explain $args"
    expect_status 2
    expect_bytes stderr.txt "combogen: $message\n"
    expect_bytes out.txt 'kept'
    eval "run $args"
    expect_status 0
    expect_quiet
done <<'CASES'
2147483648 49 6 1 out.txt|line count 2147483648 is more than 2147483647
-2147483649 49 6 1 out.txt|line count -2147483649 is less than 1
3 99999999999999999999 6 1 out.txt|pool size 99999999999999999999 is not in 1..80
3 49 6 1 out.txt fixed.txt 0 4294967296|fixed maximum 4294967296 is not less than the pick count 6
3 49 6 1x out.txt|sort flag '1x' is not a whole number
CASES

CASE="a line end in a value is shown, so that the reason stays one line"
run --explain $'1\n2' 49 6 1 out.txt
expect_status 2
expect_bytes stderr.txt "combogen: line count '1\\\\x0A2' is not a whole number\n"

CASE="closed standard streams: no file the run opens takes their place"
fresh
# The first block of the output fails: the report belongs on standard error, not in the file.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
    strace -f -qq -o strace.log -P "$(pwd -P)/new.txt" -e trace=write \
    -e inject=write:error=EIO:when=1 sh -c 'exec "$0" "$@" 2>&-' "$PROGRAM" 3 49 6 1 new.txt
check test $? -eq 1
check test ! -s new.txt
"$PROGRAM" --seed x 3 49 6 1 new.txt <&- >&- 2>&-
check test $? -eq 0
check lines_are_combinations new.txt 3 6 49 1

CASE="a failed write with a larger block keeps what the system took of it"
"$PROGRAM" --seed x --block-size 1000 1000 49 6 1 whole.txt
(ulimit -f 1; "$PROGRAM" --seed x --block-size 1000 1000 49 6 1 cut.txt 2>/dev/null)
check test $? -eq 1
check test "$(wc -c <cut.txt)" -eq 1024
check cmp -s cut.txt <(head -c 1024 whole.txt)

CASE="--help and --version that cannot be written say so"
(trap '' PIPE; "$PROGRAM" --help >&- 2>stderr.txt)
check test $? -eq 1
check grep -qx 'combogen: write error: Bad file descriptor' stderr.txt
"$PROGRAM" --version >/dev/full 2>stderr.txt
check test $? -eq 1
expect_bytes stderr.txt 'combogen: write error: No space left on device\n'

finish
