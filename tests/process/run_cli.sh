#!/usr/bin/env bash
# The five-argument run as a process: normal ends, silent stops, failed writes.
. "$(dirname "$0")/cli_support.sh"

CASE="a normal end prints nothing"
run 10 49 6 1 numbers.txt
expect_status 0
expect_quiet
check lines_are_combinations numbers.txt 10 6 49 1

CASE="unsorted lines keep their drawn order"
run 50 80 20 0 unsorted.txt
expect_status 0
check lines_are_combinations unsorted.txt 50 20 80 0
check test "$(LC_ALL=C awk '{ for (i = 2; i <= NF; i++) if ($i < $(i-1)) { print "yes"; exit } }' unsorted.txt)" = yes

CASE="six of six is a 19-byte file"
run 1 6 6 1 out.txt
expect_status 0
expect_bytes out.txt '01 02 03 04 05 06\r\n'

CASE="hexadecimal and signed arguments"
run 2 '$50' x6 +1 hex.txt
expect_status 0
check lines_are_combinations hex.txt 2 6 80 1

# Each of these stops silently: status 0, nothing printed, no file created, an existing
# file left as it was.
while IFS= read -r args; do expect_silent_stop "$args"; done <<'CASES'
0 49 6 1 out.txt
5 81 6 1 out.txt
5 49 50 1 out.txt
5 49 6 2 out.txt
5 49 6 1x out.txt
'5 ' 49 6 1 out.txt
5 49 6 1 out.txt fixed.txt 1
5 49 6 1 out.txt fixed.txt 1 2 3
5 49 6 '' out.txt
5 49 6
CASES

CASE="no arguments at all"
run
expect_status 0
expect_quiet

CASE="an output file that cannot be created"
run 1 49 6 1 no/such/folder/out.txt
expect_status 0
expect_quiet

CASE="a refused third block leaves the first 256 bytes"
run_traced -e trace=write -e inject=write:error=EIO:when=3 -- 20 10 10 1 blocks.txt
expect_status 1
check test ! -s stdout.txt
expect_report EInOutError 'I/O error 5.'
line='01 02 03 04 05 06 07 08 09 10\r\n'
printf "$line%.0s" 1 2 3 4 5 6 7 8 9 | head -c 256 >first256.bin
check cmp -s blocks.txt first256.bin

CASE="a full disk on a character device, after the first line"
run 3 49 6 1 /dev/full
expect_status 1
expect_report EInOutError 'Disk full.'

CASE="a character device gets one hand-over per line"
run_traced -e trace=write -- 4 49 6 1 /dev/null
expect_status 0
expect_quiet
check test "$(grep -c -E 'write\([0-9]+, ".*", 19\) += 19$' strace.log)" -eq 4

CASE="a regular file gets whole blocks, the rest at close"
run_traced -e trace=write -- 20 49 6 1 blocks.txt
expect_status 0
check test "$(grep -c -E 'write\([0-9]+, .*, 128\) += 128$' strace.log)" -eq 2
check test "$(grep -c -E 'write\([0-9]+, .*, 124\) += 124$' strace.log)" -eq 1

finish
