#!/bin/bash
# Wheels and the checks of a file of lines: the run, its refusals, key numbers, filters, and
# --check and --guarantee on files whose answers are known.
# shellcheck source=cli_support.sh
source "$(dirname "$0")/cli_support.sh"

CASE="a seeded wheel is reproduced byte for byte and meets its guarantee"
run --seed wheel --effort 1 --wheel 3:4 --numbers 3,8,15,22,27,31,36,40,44,47 20 49 6 1 a.txt
expect_status 0
expect_quiet
run --seed wheel --effort 1 --wheel 3:4 --numbers 3,8,15,22,27,31,36,40,44,47 20 49 6 1 b.txt
check cmp -s a.txt b.txt
check lines_are_combinations a.txt "$(wc -l <a.txt)" 6 47 1
check grep -qvE '(^| )(0[1245679]|1[0-46-9])( |.$)' a.txt
run --guarantee 3:4 --numbers 3,8,15,22,27,31,36,40,44,47 a.txt
expect_status 0
check grep -q '^met: whenever 4 of these numbers are drawn, a line holds at least 3 of them (210 of 210 draws)$' stdout.txt

# Seeded wheels are pinned: a later version gives the same lines for the same command line.
printf '7 23\n' >keys.txt
while IFS='|' read -r args lines digest; do
    CASE="pinned wheel: $args"
    eval "run --seed pin $args"
    expect_status 0
    check test "$(wc -l <out.txt)" -eq "$lines"
    check test "$(sha256sum <out.txt | cut -c1-16)" = "$digest"
done <<'CASES'
--wheel 4:4 200 13 6 1 out.txt|66|024726cd5c4c7a58
--wheel 3:4 --numbers 3,8,15,22,27,31,36,40,44,47 20 49 6 0 out.txt|4|c4eb6a0460a55700
--lf --wheel 2:3 --sum 60:200 100 30 6 1 out.txt keys.txt|32|713cc5eb33e4f1c2
--effort 10 --wheel 5:5 200 12 6 1 out.txt|132|430c8a0277e49558
--effort 1 --wheel 4:5 22 11 5 1 out.txt|22|c550d6adb18ff7a2
--effort 1 --wheel 4:4 68 13 6 1 out.txt|66|d98af9d863460162
--effort 1 --wheel 5:6 66 13 6 1 out.txt|61|adc5d0f89e66ff61
CASES

CASE="one processor gives the bytes two give"
if command -v taskset >/dev/null && [ "$(nproc)" -ge 2 ]; then
    RUNNER=(taskset -c 0)
    run --seed pin --effort 1 --wheel 4:4 68 13 6 1 one.txt
    RUNNER=()
    check test "$(sha256sum <one.txt | cut -c1-16)" = "d98af9d863460162"
fi

CASE="LINES is only the most lines accepted: asking for more gives the same smallest wheel"
run --seed pin --effort 1 --wheel 4:4 500 13 6 1 r.txt
check test "$(sha256sum <r.txt | cut -c1-16)" = "d98af9d863460162"
run --seed pin --effort 1 --explain --wheel 4:4 500 13 6 1 r.txt
expect_status 0
check grep -qx 'combogen: wheel of 66 lines for 4 if 4 over 13 numbers (search); a lower bound is 59 (Schoenheim bound): not proven optimal' stderr.txt
run --seed pin --explain --wheel 5:5 200 12 6 1 s.txt
check grep -qx 'combogen: wheel of 132 lines for 5 if 5 over 12 numbers (Steiner system S(5,6,12) from the ternary Golay code); a lower bound is 132 (Schoenheim bound): optimal' stderr.txt
run --guarantee 4:4 r.txt
check grep -q '^met:' stdout.txt

CASE="--budget: the lines that meet the most draws, when the smallest wheel found is longer"
run --seed x --budget --wheel 3:4 --numbers 1,2,3,4,5,6,7,8,9,10,11,12 5 49 6 1 b.txt
expect_status 0
check grep -qx 'combogen: 5 lines give 3 if 4 for 93.13 % of the draws with 4 among your 12 numbers (461 of 495)' stderr.txt
check test "$(sha256sum <b.txt | cut -c1-16)" = "9fda56d511132f58"
run --guarantee 3:4 b.txt
check grep -q '^not met: 461 of 495 draws' stdout.txt

CASE="3 if 6 over 49 numbers: S(3,6,22) and the rest, not two groups' 333 lines"
run --seed pin --effort 2 --wheel 3:6 200 49 6 1 r49.txt
expect_status 0
check test "$(wc -l <r49.txt)" -le 200
check test "$(sha256sum <r49.txt | cut -c1-16)" = "5a0d95e2a90331d0"
run --guarantee 3:6 r49.txt
check grep -q '^met:' stdout.txt

CASE="unsorted, LF line ends, bonus numbers after the wheel's"
run --seed w --effort 1 --lf --bonus 1:10 --wheel 2:2 20 7 3 0 c.txt
expect_status 0
check test "$(wc -l <c.txt)" -eq 7
check grep -qE '^[0-9]{2} [0-9]{2} [0-9]{2} \+ (0[1-9]|10)$' c.txt
check test "$(grep -c $'\r' c.txt)" -eq 0
run --guarantee 2:2 c.txt
check grep -q '^met:' stdout.txt

CASE="key numbers: every line holds them; the rest is wheeled"
printf '07\r\n' >key.txt
run --seed k --effort 1 --wheel 2:3 30 12 5 1 d.txt key.txt
expect_status 0
check test "$(grep -c '07' d.txt)" -eq "$(wc -l <d.txt)"
run --guarantee 2:3 --numbers 1,2,3,4,5,6,8,9,10,11,12 d.txt
check grep -q '^met:' stdout.txt

CASE="filters restrict the lines; the guarantee still holds"
run --seed f --effort 1 --sum 20:40 --odd 1:3 --wheel 2:3 40 12 4 1 e.txt
expect_status 0
check awk '{ s = $1 + $2 + $3 + $4; if (s < 20 || s > 40) exit 1 }' e.txt
run --guarantee 2:3 --numbers 1,2,3,4,5,6,7,8,9,10,11,12 e.txt
check grep -q '^met:' stdout.txt

CASE="--stats counts a wheel's lines without weighing them against random lines"
run --seed s --effort 1 --stats stats.txt --wheel 2:2 20 7 3 1 s.txt
expect_status 0
check grep -q 'expected counts unknown' stats.txt

# refusals: ARGS, the message; no file is written and an existing one is kept.
while IFS='|' read -r args message; do
    CASE="refused: $args"
    printf 'kept' >out.txt
    eval "run $args"
    expect_status 2
    check test ! -s stdout.txt
    # One line; a bad option adds the pointer to --help.
    check grep -qF -- "$message" <(head -n 1 stderr.txt)
    expect_bytes out.txt 'kept'
done <<'TABLE'
--wheel 4:3 5 10 4 1 out.txt|combogen: --wheel 4:3: T is greater than M
--wheel 0:3 5 10 4 1 out.txt|--wheel 0:3 is outside 1..80
--wheel 2:5 5 10 4 1 out.txt|combogen: --wheel 2:5: M is more than PICK 4
--wheel 2:3 --numbers 1,2,3 5 10 4 1 out.txt|combogen: PICK 4 is more than the 3 numbers to wheel
--wheel 2:3 --numbers 1,2,3,11 5 10 4 1 out.txt|combogen: --numbers 11 is not in the pool 1..10
--wheel 2:3 --numbers 1-9 --exclude 9 5 10 4 1 out.txt|combogen: --exclude 9 is also in --numbers
--wheel 2:2 --numbers 1,2,3,7 5 10 4 1 out.txt key.txt|combogen: --numbers 7 is a key number
--wheel 2:2 5 10 4 1 out.txt key.txt 1 1|combogen: --wheel takes five or six arguments
--wheel 3:3 20 7 3 1 out.txt|combogen: no wheel of at most 20 lines gives 3 if 3 over 7 numbers: a lower bound is 35 (Schoenheim bound)
--effort 1 --wheel 3:4 --numbers 3,8,15,22,27,31,36,40,44,47 3 49 6 1 out.txt|combogen: the fewest lines found for 3 if 4 over 10 numbers is 4, more than 3; a lower bound is 3 (counting bound) (--effort may find fewer; --budget writes the lines that meet the most draws)
--budget 5 10 4 1 out.txt|combogen: --budget needs --wheel
--wheel 1:2 3 20 6 1 out.txt|combogen: no wheel of at most 3 lines gives 1 if 2 over 20 numbers: a lower bound is 4 (union bound)
--wheel 3:3 0 7 3 1 out.txt|combogen: line count 0 is less than 1
--effort 1 --wheel 2:2 --sum 6:6 20 7 3 1 out.txt|combogen: no wheel of lines passing --sum 6:6 gives 2 if 2 over 7 numbers
--effort 50 5 10 4 1 out.txt|combogen: --effort needs --wheel
--numbers 1,2 5 10 4 1 out.txt|combogen: --numbers needs --wheel or --guarantee
--check '1 2 x' out.txt|combogen: --check '1 2 x': 'x' is not a number
--check '1 2' --sum 1:9 out.txt|combogen: --check cannot be used with --sum
--guarantee 2:3 --wheel 2:3 out.txt|combogen: --guarantee cannot be used with --wheel
--guarantee 2:3 out.txt other.txt|combogen: --guarantee takes one FILE of lines after its value, got 2 arguments
--guarantee 2:3 missing.txt|combogen: cannot open 'missing.txt'
TABLE

CASE="--check: lines by numbers matched and bonus, the best lines"
printf '01 02 03 04 + 05\r\n05 06 07 08 + 01\r\n01 05 09 10 + 02\n\r\n02 06 09 10 + 05\r\n' >l.txt
run --check '01 05 09 11 + 05' l.txt
expect_status 0
printf "draw 01 05 09 11 + 05\nfile 'l.txt': 4 lines of 4 numbers + 1 bonus\nmatched     lines  +0 bonus  +1 bonus\n      4         0         0         0\n      3         1         1         0\n      2         0         0         0\n      1         3         1         2\n      0         0         0         0\nbest: 3 numbers + 0 bonus, 1 line\n  line 3: 01 05 09 10 + 02\n" >expected.txt
check cmp -s stdout.txt expected.txt
check test ! -s stderr.txt

CASE="--guarantee not met: the share rounded down and the first unmet draw"
printf '01 02 03\r\n04 05 06\r\n' >g.txt
run --guarantee 2:2 g.txt
expect_status 0
check grep -q '^not met: 6 of 15 draws (40.00 %) leave at least 2 in a line$' stdout.txt
check grep -q '^unmet, for example: 01 04$' stdout.txt
check grep -qx 'lower bound: no 2 if 2 over 6 numbers in fewer than 6 lines of 3 (Schoenheim bound)' stdout.txt

CASE="a lone CR ends a line of a checked file; 0x1A is no end of file there"
printf '1 2\r1 3\r' >mac.txt
run --guarantee 2:2 mac.txt
expect_status 0
check grep -q '^guarantee 2 if 2 over 3 numbers: 01 02 03$' stdout.txt
printf '1 2 3\n\0324 5 6\n' >sub.txt
run --check '1 2 3 4 5 6' sub.txt
expect_status 2
check grep -qF "'sub.txt' line 2: " stderr.txt

CASE="a draw's bonus that repeats a main number, for lines of one pool"
printf '01 02 03\r\n' >one.txt
run --check '01 02 + 01' one.txt
expect_status 2
check grep -qxF "combogen: --check '01 02 + 01': 1 is both a main and a bonus number, and the lines of 'one.txt' have no bonus part (one pool)" stderr.txt
check test ! -s stdout.txt

CASE="--guarantee: few lines over many numbers, counted group by group when they fall apart"
for i in $(seq 1 20); do printf '%02d %02d %02d %02d\r\n' $((i * 4 - 3)) $((i * 4 - 2)) $((i * 4 - 1)) $((i * 4)); done >k.txt
run --guarantee 3:10 k.txt
expect_status 0
check grep -qxF 'not met: 176053886760 of 1646492110120 draws (10.69 %) leave at least 3 in a line' stdout.txt

CASE="--guarantee: few lines over many numbers in one group are refused, with the size checked"
for i in $(seq 1 39); do printf '%02d %02d %02d %02d\r\n' $((2 * i - 1)) $((2 * i)) $((2 * i + 1)) $((2 * i + 2)); done >chain.txt
run --guarantee 3:10 chain.txt
expect_status 2
check grep -qxF 'combogen: --guarantee 3:10 over 80 numbers: these lines leave too many draws to count in time; any file is checked over at most 30 numbers' stderr.txt

# malformed files: CONTENT (printf format), the message.
while IFS='|' read -r content message; do
    CASE="malformed: $content"
    printf "$content" >m.txt
    for option in "--check 1" "--guarantee 1:1"; do
        eval "run $option m.txt"
        expect_status 2
        check grep -qF -- "$message" stderr.txt
    done
done <<'TABLE'
01 02\r\n03 81\r\n|combogen: 'm.txt' line 2: '81' is not a number from 1 to 80
01 02\r\n03 03\r\n|combogen: 'm.txt' line 2: 3 appears twice
01 02\r\n\r\n03 04 05\r\n|combogen: 'm.txt' line 3: 3 numbers where the first line has 2
01 02 + 03\r\n04 05\r\n|combogen: 'm.txt' line 2: 2 numbers where the first line has 2 numbers + 1
01,02\r\n|combogen: 'm.txt' line 1: '01,' is not a number
\r\n\r\n|combogen: 'm.txt' holds no lines
TABLE

finish
