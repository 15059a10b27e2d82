#!/usr/bin/env bash
# Six- and eight-argument runs as processes.
. "$(dirname "$0")/cli_support.sh"

# count_labels FILE LABEL...: for each line, how many of the labels it holds, one count a line.
count_labels() {
    local file=$1
    shift
    LC_ALL=C awk -v labels="$*" 'BEGIN { n = split(labels, want, " ") }
        { sub(/\r$/, ""); c = 0; for (i = 1; i <= NF; i++) for (j = 1; j <= n; j++) c += ($i == want[j]); print c }' "$file"
}

CASE="six arguments: every line holds every fixed number"
printf '\r\n\n7, 7; 49\r\n1 2 3\r\n' >fixed.txt
run 30 49 6 0 out.txt fixed.txt
expect_status 0
expect_quiet
check lines_are_combinations out.txt 30 6 49 0
check test "$(count_labels out.txt 07 49 | sort -u)" = 2

CASE="eight arguments: one or two of three fixed numbers a line, never the third"
printf '3 9 27' >fixed.txt
run 200 30 5 1 out.txt fixed.txt 1 2
expect_status 0
expect_quiet
check lines_are_combinations out.txt 200 5 30 1
check test "$(count_labels out.txt 03 09 27 | sort -u | tr '\n' ' ')" = "1 2 "

CASE="a fixed line without digits: the whole pool"
printf 'none\n' >fixed.txt
run 3 49 6 1 out.txt fixed.txt
expect_status 0
check lines_are_combinations out.txt 3 6 49 1

# Each stops silently; fixed.txt holds the text before the bar.
while IFS='|' read -r content args; do
    printf "$content" >fixed.txt
    expect_silent_stop "$args"
done <<'CASES'
1 2 3 4 5 6|5 49 6 1 out.txt fixed.txt
7 50|5 49 6 1 out.txt fixed.txt
0 7|5 49 6 1 out.txt fixed.txt
1 2 3|5 49 6 1 out.txt fixed.txt 1 4
1 2 3|5 49 6 1 out.txt fixed.txt 2 1
1 2 3|5 49 6 1 out.txt fixed.txt -1 1
|5 49 6 1 out.txt fixed.txt 0 1
1 2 3|5 49 6 1 out.txt missing.txt
1 2 3|5 49 6 1 out.txt .
300 44|5 49 6 1 out.txt fixed.txt
300 44|5 49 6 1 out.txt fixed.txt 0 1
256|5 49 6 1 out.txt fixed.txt
CASES

# The output file is the fixed-number file, however named: a silent stop that keeps its bytes.
printf '7 12\r\n' >fixed.txt
ln -s fixed.txt symlink.txt
ln fixed.txt hardlink.txt
for out in fixed.txt ./fixed.txt "$(pwd)/fixed.txt" symlink.txt hardlink.txt; do
    CASE="the fixed-number file as output: $out"
    run 5 49 6 1 "$out" fixed.txt
    expect_status 0
    expect_quiet
    expect_bytes fixed.txt '7 12\r\n'
done
CASE="a device as both files is no file to lose"
run 5 49 6 1 /dev/null /dev/null
expect_status 0
expect_quiet

# A fixed-number file of 100 MB without a line end: '7' after a run of zeros, then '12'. The
# line passes through in bounded memory, and as the output file it still keeps its bytes.
head -c 100000000 /dev/zero | tr '\0' 0 >large.txt
printf '7 12' >>large.txt
ln large.txt large-link.txt
CASE="a fixed-number line of 100 MB"
/usr/bin/time -o peak.txt -f %M "$PROGRAM" 3 49 6 1 out.txt large.txt >stdout.txt 2>stderr.txt
STATUS=$?
expect_status 0
expect_quiet
check test "$(count_labels out.txt 07 12 | sort -u)" = 2
check test "$(cat peak.txt)" -lt 50000  # kilobytes: half the line
CASE="a fixed-number line of 100 MB as the output file"
run 3 49 6 1 large-link.txt large.txt
expect_status 0
expect_quiet
check test "$(wc -c <large.txt)" -eq 100000004
check test "$(tr -d 0 <large.txt)" = "7 12"

finish
