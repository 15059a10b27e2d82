# Helpers for the process-level suites: run the real binary, check its status, both streams
# and the bytes of its files. Sourced by each suite; $1 of the suite is the binary.
set -u

PROGRAM=$(realpath "$1")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
FAILURES=0
CHECKS=0

# A suite may set RUNNER to a command that runs the program, such as wine64.
RUNNER=()

# run ARGS...: runs the program; leaves STATUS, and the streams in stdout.txt and stderr.txt.
run() {
    ${RUNNER[@]+"${RUNNER[@]}"} "$PROGRAM" "$@" >stdout.txt 2>stderr.txt
    STATUS=$?
}

# run_traced STRACE_OPTIONS -- ARGS...: the same under strace (its log goes to strace.log).
run_traced() {
    local options=()
    while [ "$1" != "--" ]; do options+=("$1"); shift; done
    shift
    # LeakSanitizer cannot work under ptrace; a sanitized build checks leaks in the other runs.
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
        strace -f -qq -o strace.log "${options[@]}" "$PROGRAM" "$@" >stdout.txt 2>stderr.txt
    STATUS=$?
}

fail() {
    echo "FAIL [$CASE]: $*" >&2
    FAILURES=$((FAILURES + 1))
}

check() {
    CHECKS=$((CHECKS + 1))
    "$@" || fail "$*"
}

expect_status() { check test "$STATUS" -eq "$1"; }
expect_quiet() {
    check test ! -s stdout.txt
    check test ! -s stderr.txt
}
# expect_bytes FILE TEXT: TEXT is a printf format, so \r\n can be written as such.
expect_bytes() {
    # shellcheck disable=SC2059
    printf "$2" >expected.bin
    CHECKS=$((CHECKS + 1))
    cmp -s "$1" expected.bin || fail "$1 differs: $(od -c "$1" | head -n 4)"
}
# expect_report KIND MESSAGE: the failure report on standard error, an empty line after it.
# The offset in it varies with the build: only its form is checked.
expect_report() {
    printf 'Exception %s in module %s at XXXXXXXX.\r\n%s\r\n\r\n' "$1" "$(basename "$PROGRAM")" "$2" \
        >expected.bin
    LC_ALL=C sed -E '1s/ at [0-9A-F]{8}\.\r$/ at XXXXXXXX.\r/' stderr.txt >report.bin
    CHECKS=$((CHECKS + 1))
    cmp -s report.bin expected.bin || fail "report differs: $(od -c stderr.txt | head -n 6)"
}

# expect_silent_stop ARGS: run with ARGS (as shell words) stops silently: status 0, nothing
# printed, no out.txt created, and an existing out.txt left as it was.
expect_silent_stop() {
    CASE="silent stop: $1"
    rm -f out.txt
    eval "run $1"
    expect_status 0
    expect_quiet
    check test ! -e out.txt
    printf 'kept' >out.txt
    eval "run $1"
    expect_status 0
    expect_quiet
    expect_bytes out.txt 'kept'
}

# lines_are_combinations FILE COUNT K N SORTED: COUNT lines of K distinct labels of 1..N,
# ascending when SORTED is 1, each ended by CR LF.
lines_are_combinations() {
    LC_ALL=C awk -v count="$2" -v k="$3" -v n="$4" -v sorted="$5" '
        BEGIN { RS = "\n"; bad = 0 }
        {
            if (substr($0, length($0)) != "\r") { bad = 1; exit }
            line = substr($0, 1, length($0) - 1)
            if (length(line) != 3 * k - 1 || split(line, field, " ") != k) { bad = 1; exit }
            delete seen
            for (i = 1; i <= k; i++) {
                v = field[i] + 0
                if (field[i] !~ /^[0-9][0-9]$/ || v < 1 || v > n || (v in seen)) { bad = 1; exit }
                if (sorted && i > 1 && v < field[i - 1] + 0) { bad = 1; exit }
                seen[v] = 1
            }
        }
        END { exit (bad || NR != count) }' "$1"
}

# help_options: every option that --help names, one a line.
help_options() {
    "$PROGRAM" --help | LC_ALL=C grep -oE -- '(^|[^[:alnum:]-])--[[:alnum:]][[:alnum:]-]*' |
        sed -E 's/^[^-]+//' | sort -u
}

finish() {
    echo "$((CHECKS - FAILURES)) passed, $FAILURES failed"
    [ "$FAILURES" -eq 0 ]
}
