#!/usr/bin/env bash
# Keeps the manual page and the README from falling behind the program: every option that
# --help prints appears in both.
# Usage: docs_drift.sh COMBOGEN SOURCE_DIR
SOURCE=$(realpath "$2")
. "$(dirname "$0")/cli_support.sh"

options=$(help_options)
CASE="--help lists options"
check test -n "$options"

# The manual page as plain text: roff's \- is a hyphen, font changes (\fB, \f[I]) go.
LC_ALL=C sed -E 's/\\-/-/g; s/\\f(\[[^]]*\]|.)//g' "$SOURCE/man/combogen.1" >manual.txt
for option in $options; do
    pattern="(^|[^[:alnum:]-])$option([^[:alnum:]-]|\$)"
    CASE="$option in the manual page"
    check grep -qE -- "$pattern" manual.txt
    CASE="$option in the README"
    check grep -qE -- "$pattern" "$SOURCE/README.md"
done

# The manual page's entries (.TP, then the option and its value) are --help's option lines:
# the same options, with the same value names, nothing more or less.
"$PROGRAM" --help | LC_ALL=C sed -nE 's/^  (--[a-z-]+( [A-Z][A-Z:]*)*).*/\1/p' |
    sed -E 's/ +$//' | tr 'A-Z' 'a-z' | sort >help-entries.txt
LC_ALL=C awk 'entry { print; entry = 0 } /^\.TP/ { entry = 1 }' "$SOURCE/man/combogen.1" |
    LC_ALL=C sed -nE '/^\.BI? \\-\\-/{ s/^\.BI? //; s/\\//g; s/"//g; s/ *: */:/g; s/  +/ /g; p; }' |
    tr 'A-Z' 'a-z' | sort >manual-entries.txt
CASE="the manual page's option entries are --help's"
check diff help-entries.txt manual-entries.txt

finish
