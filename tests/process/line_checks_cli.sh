#!/usr/bin/env bash
# --prizes: the exact table of a small file whose every draw is counted by hand, and its
# refusals; --check against files of past draws in each format.
DRAWS=$(realpath "$(dirname "$0")/draws")
. "$(dirname "$0")/cli_support.sh"

CASE="--prizes: the table of two lines in draws of 3 from 1..6"
printf '01 02 03\r\n01 04 05\r\n' >p.txt
run --prizes 6:3 p.txt
expect_status 0
cat >expected.txt <<'TABLE'
prizes of file 'p.txt': 2 lines of 3 numbers over 5 numbers
game: 3 drawn of 1..6, 20 draws, each counted
match   draws with a line  chance %  lines expected  random lines: chance %
    3                   2   10.0000        0.100000                  9.7500
    2                  16   80.0000        0.900000                 75.0000
    1                  20  100.0000        0.900000                 99.7500
(chance: of a line with at least that many; lines expected: with exactly that many, the same for random lines, since a wheel changes the spread of wins, not their average)

3 of the drawn numbers among these 5: 10 draws
match  least  average  most
    3      0   0.2000     1
    2      0   1.2000     2
    1      0   0.6000     1
always a line with at least 2; the first draw that gets no more: 01 02 04

2 of the drawn numbers among these 5: 10 draws
match  least  average  most
    2      0   0.6000     1
    1      0   1.2000     2
always a line with at least 1; the first draw that gets no more: 02 04
TABLE
check cmp -s stdout.txt expected.txt
check test ! -s stderr.txt

CASE="--prizes: a Keno-sized game over 20 numbers answers"
for i in $(seq 1 20); do seq -f '%02g' $((i % 11 + 1)) $((i % 11 + 10)) | tr '\n' ' '; printf '\n'; done >keno.txt
run --prizes 80:20 keno.txt
expect_status 0
check grep -q '^game: 20 drawn of 1..80, 3535316142212174320 draws, each counted$' stdout.txt

CASE="a wheel's --stats and --chart hold its prize table, not a test of its counts"
run --seed s --effort 1 --stats stats.txt --chart chart.svg --wheel 2:2 20 7 3 1 s.txt
expect_status 0
check grep -q $'^always a line with at least 2; the first draw that gets no more: 01 02 03\r$' stats.txt
check test "$(grep -c 'chi-square' stats.txt)" -eq 0
check grep -q '>Draws won: 7 lines of 3 over 7 numbers, 3 drawn of 1..7<' chart.svg

CASE="--prizes with a bonus pool: tiers of main and bonus numbers"
printf '01 02 03 + 01\r\n01 04 05 + 02\r\n' >pb.txt
run --prizes 6:3+1:3 pb.txt
expect_status 0
check grep -q '^game: 3 drawn of 1..6 + 1 of 1..3, 60 draws, each counted$' stdout.txt
check grep -qE '^  3\+1 +2 +3.3333 +0.033333 +3.3056$' stdout.txt
check grep -qE '^  0\+1 +40 +66.6667 +0.033333 +55.5556$' stdout.txt

CASE="--prizes with a bonus number of the same pool: matched with the lines' main numbers"
run --prizes 6:3+1 p.txt
expect_status 0
check grep -q '^game: 3 drawn of 1..6 + 1 more of the same numbers, 60 draws, each counted$' stdout.txt
check grep -qE '^  2\+1 +18 +30.0000 +0.300000 +27.7500$' stdout.txt
check test "$(grep -c '^  3+1' stdout.txt)" -eq 0

CASE="--check with --game: the seventh number of one column is the bonus number"
printf '03 17 22 31 40 09\r\n' >g.txt
run --game 49:6+1 --check "$DRAWS/six_and_bonus.csv" g.txt
expect_status 0
check grep -qxF 'line 2, 02-Mar-2024: 03 17 22 31 40 44 + 09' stdout.txt
check grep -qxF '  line 1: 03 17 22 31 40 09, best 5 numbers + 1 bonus in 1 draw' stdout.txt

# past draws: FIXTURE, LINES (printf format), a line the report holds.
while IFS='|' read -r fixture lines expected; do
    CASE="--check $fixture"
    printf "$lines" >h.txt
    run --check "$DRAWS/$fixture" h.txt
    expect_status 0
    check grep -qxF -- "$expected" stdout.txt
    check test ! -s stderr.txt
done <<'TABLE'
own.txt|07 14 22 31 40 49 + 02\r\n|line 2: 07 14 22 31 40 49 + 02
own.txt|07 14 22 31 40 49 + 02\r\n|  best 6 numbers + 1 bonus, line 1: 07 14 22 31 40 49 + 02; lines by numbers matched, 6 down to 0: 1 0 0 0 0 0 0
columns.csv|04 12 23 30 41 47\r\n|line 4, 07-Feb-2024: 06 11 27 35 42 48 + 30
columns.csv|04 12 23 30 41 47\r\n|  best 0 numbers + 1 bonus, line 1: 04 12 23 30 41 47; lines by numbers matched, 6 down to 0: 0 0 0 0 0 0 1
one_column.csv|11 21 27 36 62 + 24\r\n|line 4, 09/19/2020: 05 21 22 29 43 + 10
one_column.csv|11 21 27 36 62 + 24\r\n|  line 1: 11 21 27 36 62 + 24, best 5 numbers + 1 bonus in 1 draw
semicolon.csv|07 18 25 36 44 + 03 11\n|line 3, 2023-05-09: 02 13 29 38 50 + 05 09
tab.tsv|04 09 15 28 33 40\n|line 3, 2022-02-26: 01 12 20 26 39 45
tab.tsv|04 09 15 28 33 40\n|      6         1
TABLE

# malformed draw files: CONTENT (printf format), the message; status 2.
printf '01 02 03 04 05 06\r\n' >h.txt
while IFS='|' read -r content message; do
    CASE="draws refused: $content"
    printf "$content" >d.csv
    run --check d.csv h.txt
    expect_status 2
    check grep -qxF -- "$message" stderr.txt
done <<'TABLE'
Date,Ball 1,Ball 2\n2024-01-01,3,x\n|combogen: 'd.csv' line 2: 'x' is not a number
Date,Ball 1,Ball 2\n2024-01-01,3\n|combogen: 'd.csv' line 2: 2 fields where the header has 3
Date;Numbers;Bonus\n2024-01-01;3 3 4;5\n|combogen: 'd.csv' line 2: 3 appears twice
1 2 3 4 5 6 + 1\n|combogen: 'd.csv' line 1: 1 is both a main and a bonus number
hello world\n|combogen: 'd.csv' is not a file of draws: expected a draw a line ("05 11 23 38 41 49 + 07") or a CSV header naming the drawn numbers' columns ("Ball 1", "Winning Numbers")
TABLE

# refusals: ARGUMENTS, the message on standard error; status 2, nothing on standard output.
cp "$DRAWS/six_and_bonus.csv" sb.csv
printf '01 02 03 04 05 08 + 08\n' >dup.txt
while IFS='|' read -r arguments message; do
    CASE="refused: $arguments"
    eval "run $arguments"
    expect_status 2
    check grep -qxF -- "$message" <(head -n 1 stderr.txt)
    check test ! -s stdout.txt
done <<'TABLE'
--prizes 6:7 p.txt|combogen: --prizes takes POOL:DRAW (DRAW of 1..POOL drawn, POOL at most 80), or POOL:DRAW+K:N (and K bonus numbers of 1..N), not '6:7'
--prizes 6:3+1:4 p.txt|combogen: 'p.txt' has no bonus part for the bonus numbers of --prizes
--prizes 80:40 p.txt|combogen: --prizes '80:40': more than 2^62 draws
--prizes 4:3 p.txt|combogen: 'p.txt' holds 5, outside the pool 1..4
--prizes 6:3 --numbers 1,2,3 p.txt|combogen: 'p.txt' holds 4, not in --numbers
--prizes 6:3 --sum 1:9 p.txt|combogen: --prizes cannot be used with --sum
--prizes 6:3 p.txt q.txt|combogen: --prizes takes one FILE of lines after its value, got 2 arguments
--check '1 2 x' p.txt|combogen: --check '1 2 x': 'x' is not a number, and no file of draws of that name can be opened
--prizes 6:3+4 p.txt|combogen: --prizes '6:3+4': 4 more numbers of 1..6 after 3 drawn are more than the 3 left
--game 49:6+1 --check '1 2 3' p.txt|combogen: --game needs --check with a file of past draws
--game 49:6+1:x --check sb.csv p.txt|combogen: --game takes POOL:DRAW (DRAW main numbers of 1..POOL), POOL:DRAW+K:N (and K bonus numbers of 1..N) or POOL:DRAW+K (and K more of 1..POOL), not '49:6+1:x'
--game 49:6 --check sb.csv p.txt|combogen: 'sb.csv' line 2: 7 numbers where --game 49:6 draws 6
--game 45:6+1 --check sb.csv p.txt|combogen: 'sb.csv' line 3: 47 is outside 1..45
--game 49:6+1:30 --check sb.csv p.txt|combogen: 'sb.csv' line 3: bonus number 33 is outside 1..30
--game 49:6+1 --check dup.txt p.txt|combogen: 'dup.txt' line 1: 8 is both a main and a bonus number
--prizes 80:12 --numbers "$(seq -s, 1 80)" keno.txt|combogen: --prizes over 80 numbers with 20 lines: too many draws to count exactly in time; these lines can be tabled over at most 30 numbers
TABLE

finish
