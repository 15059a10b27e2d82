#!/usr/bin/env bash
# The bash completion in an interactive bash with bash-completion loaded: it offers every
# option that --help prints, and file names where the output and fixed-number files go.
# Usage: completion.sh COMBOGEN COMPLETION_SCRIPT
SCRIPT=$(realpath "$2")
. "$(dirname "$0")/cli_support.sh"
mkdir bin && ln -s "$PROGRAM" bin/combogen
touch fixed-a.txt fixed-b.txt

# complete_line LINE: the candidates, one a line, for LINE with the cursor at its end, as
# bash hands LINE to the completion function (split at blanks, "=" and ":" words of their own).
complete_line() {
    PATH="$PWD/bin:$PATH" HOME="$PWD" bash --norc -i -c '
        . /usr/share/bash-completion/bash_completion && . "$1" || exit 1
        COMP_LINE=$2 COMP_POINT=${#2}
        words=${2//=/ = }
        read -ra COMP_WORDS <<<"${words//:/ : }"
        [[ $2 == *" " ]] && COMP_WORDS+=("")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        _combogen && printf "%s\n" "${COMPREPLY[@]}"' bash "$SCRIPT" "$1" 2>/dev/null
}

CASE="file names for the output and fixed-number files"
check test "$(complete_line 'combogen 10 49 6 1 out.txt fix' | sort | tr '\n' ' ')" = \
    "fixed-a.txt fixed-b.txt "
check test -z "$(complete_line 'combogen 10 4')"

CASE="every option that --help prints"
options=$(help_options)
check test -n "$options"
offered=$(complete_line 'combogen --' | sort -u)
for option in $options; do
    check grep -qx -- "$option" <<<"$offered"
done
check test -z "$(complete_line 'combogen 10 49 6 1 out.txt --')"

CASE="an option's value is not an argument"
value_option=$("$PROGRAM" --help | LC_ALL=C grep -oE -- '--[[:alnum:]-]+ [A-Z]+' | grep -v FILE | head -n 1)
check test -n "$value_option"
check test "$(complete_line "combogen ${value_option% *} 1 10 49 6 1 out.txt fix" | sort |
    tr '\n' ' ')" = "fixed-a.txt fixed-b.txt "

CASE="a word of -- and a digit is the first argument, not an option"
check test "$(complete_line 'combogen --5 49 6 1 fix' | sort | tr '\n' ' ')" = \
    "fixed-a.txt fixed-b.txt "

finish
