#!/usr/bin/env bash
# --stats and --chart as processes: the report's counts against the output file, the chart as
# XML, and report files that cannot or must not be written.
. "$(dirname "$0")/cli_support.sh"

# counts_of_output FILE PART: "NN count" for each number that appears among the main numbers
# (PART 1) or the bonus numbers after " + " (PART 2), ascending.
counts_of_output() {
    LC_ALL=C awk -v part="$2" '{ sub(/\r$/, ""); split($0, parts, / \+ /); n = split(parts[part], f, " ")
        for (i = 1; i <= n; i++) c[f[i]]++ }
        END { for (v in c) print v, c[v] }' "$1" | sort
}
# distinct_sets FILE: how many different sets of numbers the lines hold, in whatever order.
distinct_sets() {
    LC_ALL=C awk '{ sub(/\r$/, ""); n = split($0, f, " ")
        for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (f[j] < f[i]) { t = f[i]; f[i] = f[j]; f[j] = t }
        s = ""; for (i = 1; i <= n; i++) s = s f[i] " "; print s }' "$1" | sort -u | wc -l
}
# counts_of_report FILE PART: the same from the report's main (1) or bonus (2) table, numbers
# that never came up left out.
counts_of_report() {
    LC_ALL=C awk -v part="$2" '{ sub(/\r$/, "") } /^bonus numbers/ { table = 2 } /^main numbers/ { table = 1 }
        table == part && /^    [0-9][0-9] / && $2 > 0 { print $1, $2 }' "$1" | sort
}

printf '3 9 11' >fixed.txt
while IFS='|' read -r args; do
    CASE="report counts match the output: $args"
    rm -f stats.txt chart.svg
    eval "run --seed stats --stats stats.txt --chart chart.svg $args"
    expect_status 0
    expect_quiet
    check test "$(counts_of_report stats.txt 1)" = "$(counts_of_output out.txt 1)"
    check test "$(counts_of_report stats.txt 2)" = "$(counts_of_output out.txt 2)"
    check grep -q "^lines:     300"$'\r'"\$" stats.txt
    check grep -q "^distinct lines: $(distinct_sets out.txt) of 300 " stats.txt
    check grep -q '^chi-square [0-9.]* with [0-9]* degrees of freedom, p-value ' stats.txt
    check xmllint --noout chart.svg
done <<'CASES'
300 49 6 1 out.txt
300 20 5 0 out.txt fixed.txt
300 12 4 1 out.txt fixed.txt 1 2
--bonus 2:12 --sum 100:150 --odd 1:3 300 50 5 0 out.txt
CASES

CASE="--lf: the report's lines end as the output's do"
run --lf --seed stats --stats stats.txt 5 10 3 1 out.txt
expect_status 0
check test "$(grep -c $'\r' stats.txt)" = 0

CASE="a statistics file that cannot be written: one line, status 2, the output complete"
run --seed stats --stats nodir/stats.txt 7 49 6 1 out.txt
expect_status 2
check test ! -s stdout.txt
expect_bytes stderr.txt \
    "combogen: cannot write statistics to 'nodir/stats.txt': No such file or directory\n"
check lines_are_combinations out.txt 7 6 49 1

CASE="a report file that is another file of the run: refused before anything is written"
printf 'kept' >out.txt
while IFS='|' read -r args message; do
    eval "run $args"
    expect_status 2
    expect_bytes stderr.txt "combogen: $message\n"
    expect_bytes out.txt 'kept'
    expect_bytes fixed.txt '3 9 11'
done <<'CASES'
--stats out.txt 5 49 6 1 out.txt|the statistics file 'out.txt' is the output file 'out.txt'
--chart ./fixed.txt 5 49 6 1 out.txt fixed.txt|the chart file './fixed.txt' is the fixed-number file 'fixed.txt'
--stats s.txt --chart s.txt 5 49 6 1 out.txt|the chart file 's.txt' is the statistics file 's.txt'
CASES

CASE="another spelling of a new output file's name: found before the output file is created"
rm -f new.txt
run --seed stats --stats ./new.txt 4 49 6 1 new.txt
expect_status 2
expect_bytes stderr.txt "combogen: the statistics file './new.txt' is the output file 'new.txt'\n"
check test ! -e new.txt

# Every figure is right for the option set, or the report says which it cannot give and why.
while IFS='|' read -r args pairs chi; do
    CASE="report figures: $args"
    eval "run --seed s1 --stats st.txt $args o.txt"
    expect_status 0
    check grep -q "^pairs of main numbers seen in a line: $pairs" st.txt
    check grep -q "^$chi" st.txt
done <<'CASES'
--exclude 50 100 49 6 1|842 of 1176 possible|chi-square 38.93 with 48 degrees of freedom
--sum 5:5 100 4 2 1|2 of 2 possible|chi-square 0.16 with 1 degrees of freedom
--sum 100:200 100 49 6 1|849 (how many can occur is not known|chi-square 33.93 with 48
--sum 900:2300 --max-run 20 20 80 40 1|[0-9]* (how many can occur is not known|chi-square: not computed; the expected counts are unknown: the lines that pass the filters are too many to count
CASES

finish
