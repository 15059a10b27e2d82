#!/usr/bin/env bash
# Filters, --bonus and --unique as processes.
. "$(dirname "$0")/cli_support.sh"

# lines_pass FILE COUNT K N SORTED SUM_MIN SUM_MAX ODD_MIN ODD_MAX MAX_RUN EXCLUDED BONUS_K BONUS_N:
# COUNT lines (line feed ends), each K distinct labels of 1..N (ascending when SORTED) meeting
# every filter, then " + " and BONUS_K distinct labels of 1..BONUS_N when BONUS_K > 0.
lines_pass() {
    LC_ALL=C awk -v count="$2" -v k="$3" -v n="$4" -v sorted="$5" -v smin="$6" -v smax="$7" \
        -v omin="$8" -v omax="$9" -v maxrun="${10}" -v excluded="${11}" -v bk="${12}" -v bn="${13}" '
        function labels(text, want, top, out,    field, i, v, seen) {
            if (split(text, field, " ") != want || length(text) != 3 * want - 1) return 0
            for (i = 1; i <= want; i++) {
                v = field[i] + 0
                if (field[i] !~ /^[0-9][0-9]$/ || v < 1 || v > top || (v in seen)) return 0
                if (sorted && i > 1 && v < field[i - 1] + 0) return 0
                seen[v] = 1; out[v] = 1
            }
            return 1
        }
        BEGIN { split(excluded, ex, ","); bad = 0 }
        {
            split("", main); split("", extra)
            part = $0
            if (bk > 0) {
                at = index($0, " + ")
                if (at == 0 || !labels(substr($0, at + 3), bk, bn, extra)) { bad = 1; exit }
                part = substr($0, 1, at - 1)
            }
            if (!labels(part, k, n, main)) { bad = 1; exit }
            sum = 0; odd = 0; run = 0; longest = 0
            for (v = 1; v <= n; v++) {
                if (v in main) { sum += v; odd += v % 2; run++ } else run = 0
                if (run > longest) longest = run
            }
            for (i in ex) if ((ex[i] + 0) in main) { bad = 1; exit }
            if (sum < smin || sum > smax || odd < omin || odd > omax || longest > maxrun) {
                bad = 1; exit
            }
        }
        END { exit (bad || NR != count) }' "$1"
}

printf '3 9 27 33 61\n' >fixed5.txt
printf '7 23\n' >fixed2.txt
printf '1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19\n' >fixed19.txt

# options|lines and arguments|what every line must meet (see lines_pass)
while IFS='|' read -r options args meets; do
    CASE="every line passes: $options $args"
    eval "run --lf $options $args"
    expect_status 0
    expect_quiet
    eval "check lines_pass out.txt $meets"
done <<'CASES'
--sum 100:200 --odd 2:4 --max-run 2 --exclude 13,4|2000 49 6 0 out.txt|2000 6 49 0 100 200 2 4 2 13,4 0 0
--sum 40:60 --odd 0:1 --max-run 1|500 49 6 1 out.txt|500 6 49 1 40 60 0 1 1 0 0 0
--sum 21:21|1000 49 6 0 out.txt|1000 6 49 0 21 21 0 6 6 0 0 0
--sum 500:600 --odd 12:20 --exclude 1,2,80|300 80 20 0 out.txt fixed5.txt 1 3|300 20 80 0 500 600 12 20 20 1,2,80 0 0
--max-run 3 --bonus 2:12 --sum 100:150|400 50 5 1 out.txt|400 5 50 1 100 150 0 5 3 0 2 12
--bonus 1:26 --odd 5:5|300 69 5 0 out.txt|300 5 69 0 0 9999 5 5 5 0 1 26
--sum 600:1000 --odd 6:14 --max-run 4|300 80 20 0 out.txt|300 20 80 0 600 1000 6 14 4 0 0 0
--unique --sum 60:90 --exclude 8|2000 49 6 1 out.txt fixed2.txt|2000 6 49 1 60 90 0 6 6 8 0 0
--sum 700:720 --odd 8:12 --max-run 3|1000 80 20 1 out.txt|1000 20 80 1 700 720 8 12 3 0 0 0
--sum 810:810 --odd 10:10 --max-run 2|1000 80 20 0 out.txt|1000 20 80 0 810 810 10 10 2 0 0 0
--max-run 42 --sum 1189:1190|105 49 47 0 out.txt|105 47 49 0 1189 1190 0 47 42 0 0 0
--unique --sum 810:810 --odd 10:10 --max-run 2|500 80 20 1 out.txt fixed5.txt 0 3|500 20 80 1 810 810 10 10 2 0 0 0
--sum 700:720 --odd 8:12 --max-run 3|300 80 20 1 out.txt fixed19.txt 0 19|300 20 80 1 700 720 8 12 3 0 0 0
--sum 2400:2500 --odd 28:32 --max-run 20|200 80 60 0 out.txt|200 60 80 0 2400 2500 28 32 20 0 0 0
--unique --sum 810:810 --odd 10:10 --max-run 2|2000 80 20 1 out.txt fixed19.txt 0 19|2000 20 80 1 810 810 10 10 2 0 0 0
--unique --sum 700:720 --odd 8:12 --max-run 3|2000 80 20 0 out.txt fixed19.txt 0 19|2000 20 80 0 700 720 8 12 3 0 0 0
CASES

# Seeded runs that drew before the reachable counts keep their bytes.
while IFS='|' read -r seed options args digest; do
    CASE="the same bytes as before: $options $args"
    eval "run --seed $seed $options $args"
    expect_status 0
    check test "$(sha256sum <out.txt | cut -c1-16)" = "$digest"
done <<'CASES'
base1|--sum 100:200 --odd 2:4 --max-run 2 --exclude 13,4|200 49 6 0 out.txt|294032cd08558e2f
base4|--sum 500:600 --odd 12:20 --exclude 1,2,80|100 80 20 0 out.txt fixed5.txt 1 3|f34febeacde90328
base7|--sum 600:1000 --odd 6:14 --max-run 4|100 80 20 0 out.txt|e5c7424eb0d13159
base8|--unique --sum 60:90 --exclude 8|500 49 6 1 out.txt fixed2.txt|dd5972a858466a16
base23|--max-run 30 --sum 1100:1200|100 49 47 1 out.txt|59123d8b9a318b4e
base32|--bonus 2:10 --sum 800:820 --odd 10:10|50 80 20 1 out.txt fixed5.txt 0 2|e18319b1fc1c9df7
base41|--sum 810:810 --odd 10:10 --max-run 2|100 80 20 1 out.txt fixed19.txt 0 19|ecbc2f81c4856f01
base42|--unique --sum 810:810 --odd 10:10 --max-run 2|100 80 20 1 out.txt fixed19.txt 0 19|5c54cf7483d209aa
base43|--unique --sum 700:720 --odd 8:12 --max-run 3|100 80 20 0 out.txt fixed19.txt 0 19|86448137f9bf4ba8
CASES

# Seeded runs drawn from the reachable counts, with and without the recheck, keep their bytes
# (the rank walk and the recheck are rewritten for speed; the generator's calls must not change).
printf '5 15 25 35 45 55 65 75 10 20\n' >fixed10.txt
printf '2 11 40 47\n' >fixed4.txt
while IFS='|' read -r options args digest; do
    CASE="the same bytes as before: $options $args"
    eval "run --seed pin $options $args"
    expect_status 0
    check test "$(sha256sum <out.txt | cut -c1-16)" = "$digest"
done <<'CASES'
--sum 700:720 --odd 8:12 --max-run 3|30 80 20 1 out.txt|0bed2cd288126b53
--sum 810:810 --odd 10:10 --max-run 2|30 80 20 0 out.txt|96e735d81f62080e
--max-run 42 --sum 1189:1190|30 49 47 0 out.txt|5632a21d212e5089
--unique --sum 300:500 --odd 4:6 --max-run 2|30 80 10 1 out.txt|5d80f5b15071a78f
--sum 700:720 --odd 8:12 --max-run 3|30 80 20 1 out.txt fixed10.txt 0 9|63c04d8cb4e7b457
--sum 700:720 --odd 8:12 --max-run 3|30 80 20 0 out.txt fixed10.txt 0 9|c5bab2871d62ecae
--sum 700:720 --odd 8:12 --max-run 3|30 80 20 0 out.txt fixed10.txt|d9991d4a7f79b1cf
--sum 810:810 --odd 10:10 --max-run 2|30 80 20 0 out.txt fixed19.txt 0 19|d51078b5dafda42c
--sum 810:810 --odd 10:10 --max-run 3 --exclude 40,41|30 80 20 0 out.txt fixed19.txt 0 19|e3f03a06c7e77cef
--sum 810:810 --odd 10:10 --max-run 4|30 80 20 1 out.txt fixed19.txt 0 19|03f688badf425944
--sum 810:810 --odd 10:10 --max-run 2|30 80 20 0 out.txt fixed5.txt|0240682376ba453d
--unique --sum 810:810 --odd 10:10 --max-run 2|30 80 20 1 out.txt fixed5.txt 0 3|a626b7a8c5ddbd8f
--sum 800:820 --odd 9:11 --exclude 7,8|30 80 20 1 out.txt fixed10.txt 0 9|629cc8864c27cdf9
--sum 1600:1640 --odd 18:22 --max-run 8|30 80 40 1 out.txt|ce20855d8b7ce029
--sum 1600:1640 --odd 18:22 --max-run 8|30 80 40 0 out.txt fixed10.txt 0 9|dc62facad6523b18
--sum 1600:1700 --odd 15:25 --max-run 2|30 80 40 1 out.txt fixed5.txt|43782a8db720ead7
--sum 1500:1520 --odd 20:20 --max-run 4|30 80 40 0 out.txt|bf5d8cd6ccc7dbc3
--sum 1600:1640 --odd 18:22 --exclude 3|30 80 40 0 out.txt fixed10.txt 1 9|c1dd0e4857084961
--sum 1600:1640 --max-run 3|30 80 40 0 out.txt fixed10.txt 2 8|80135c6a0f920572
--sum 1180:1190 --odd 23:24 --max-run 20|30 49 47 0 out.txt fixed2.txt|d3cc940d1bcad86f
--sum 1150:1200 --max-run 30|30 49 47 1 out.txt fixed4.txt 2 4|3e6d31b579a568b1
--sum 2400:2500 --odd 28:32 --max-run 20|30 80 60 0 out.txt|485bdba50a159572
CASES

CASE="a filter that every line passes leaves the run's bytes as they are"
while IFS='|' read -r options args; do
    eval "run --seed abc $args"
    eval "run --seed abc $options ${args/a.txt/b.txt}"
    check cmp -s a.txt b.txt
done <<'CASES'
--sum 21:279 --odd 0:6 --max-run 6 --exclude 50,80|30 49 6 1 a.txt
--sum 0:3240 --odd 0:80|30 80 20 0 a.txt fixed5.txt
--sum 210:1410 --max-run 20|30 80 20 0 a.txt fixed5.txt 1 3
CASES

# canonical FILE: each line's numbers sorted, then the lines sorted and made unique.
canonical() {
    tr -d '\r' <"$1" | awk '{
        n = split($0, f, " ")
        for (i = 2; i <= n; i++) for (j = i; j > 1 && f[j - 1] > f[j]; j--) { t = f[j]; f[j] = f[j - 1]; f[j - 1] = t }
        s = f[1]; for (i = 2; i <= n; i++) s = s " " f[i]; print s
    }' | sort -u
}

CASE="--unique: every one of the 495 lines of 4 of 12, each once"
run --unique 495 12 4 0 out.txt
expect_status 0
check test "$(wc -l <out.txt)" -eq 495
check test "$(canonical out.txt | wc -l)" -eq 495

CASE="--unique: a space too large for one bit a line keeps the lines in a table"
run --unique 3000 80 20 0 out.txt
expect_status 0
check test "$(canonical out.txt | wc -l)" -eq 3000

# Each is refused: one line on standard error, status 2, no output file and no seed file.
while IFS='|' read -r args message; do
    CASE="refused: $args"
    rm -f out.txt seed.bin
    eval "run --save-seed seed.bin $args"
    expect_status 2
    check test ! -s stdout.txt
    check test "$(cat stderr.txt)" = "combogen: $message"
    check test ! -e out.txt
    check test ! -e seed.bin
done <<'CASES'
--sum 300:400 5 49 6 1 out.txt|no line of 6 from 1..49 has --sum 300:400
--sum 30:30 --odd 5:6 5 49 6 1 out.txt|no line of 6 from 1..49 has --sum 30:30 and --odd 5:6
--odd 6:6 --sum 21:21 5 49 6 1 out.txt|no line of 6 from 1..49 has --sum 21:21 and --odd 6:6
--max-run 1 5 49 26 1 out.txt|no line of 26 from 1..49 has --max-run 1
--exclude 1,2 5 8 7 1 out.txt|no line of 7 from 1..8 has --exclude 1,2
--sum 10:20 5 80 20 1 out.txt fixed5.txt 1 3|no line of 20 from 1..80 holding 1 to 3 fixed numbers has --sum 10:20
--exclude 23,50 5 49 6 1 out.txt fixed2.txt|--exclude 23 is also a fixed number
--unique 496 12 4 1 out.txt|--unique asks for 496 lines, but there are only 495 different lines of 4 from 1..12
--unique --sum 10:10 2 12 4 1 out.txt|--unique asks for 2 lines, but there are only 1 different lines of 4 from 1..12 with --sum 10:10
--max-run 42 --sum 1100:1110 5 49 47 0 out.txt|no line of 47 from 1..49 has --sum 1100:1110
--unique 5000000 80 20 1 out.txt|--unique allows at most 4,194,304 lines when more than 1,073,741,824 different lines are possible
CASES

finish
