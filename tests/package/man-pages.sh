#!/usr/bin/env bash
# Usage: man-pages.sh MAN_DIR PROGRAM...
# Each program's man page renders without a warning, and documents every command, option and
# environment variable that the program's --help names, and no command that --help lacks.
set -uo pipefail
man_dir=$1
shift
if ! command -v man >/dev/null; then
    echo "SKIPPED: man is not installed (Debian package man-db)"
    exit 77
fi

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The tags of the items (the line after .TP) of one section of a page, as plain words: without
# the font macro or font changes, with \- read as -.
section_tags() {
    sed -n "/^\.SH \"\\?$2\"\\?\$/,/^\.SH/p" "$1" | sed -n '/^\.TP/{n;p}' \
        | sed -E 's/^\.[A-Z]+ //; s/\\f[BIRP]//g; s/\\-/-/g; s/"//g'
}

for program in "$@"; do
    name=$(basename "$program")
    page=$man_dir/$name.1
    if [ ! -f "$page" ]; then
        fail "$name has no man page $page"
        continue
    fi
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$name.1 renders with warnings:"$'\n'"$warnings"

    help=$("$program" --help) || fail "$name --help failed"
    help_commands=$(sed -n '/^commands:/,$p' <<<"$help" | awk 'NR > 1 && /^  [a-z]/ { print $1 }' | sort -u)
    page_commands=$(section_tags "$page" COMMANDS | awk '{ print $1 }' | sort -u)
    for command in $(comm -23 <(echo "$help_commands") <(echo "$page_commands")); do
        fail "$name.1 lacks the command '$command' that --help lists"
    done
    for command in $(comm -13 <(echo "$help_commands") <(echo "$page_commands")); do
        fail "$name.1 documents the command '$command' that --help does not list"
    done

    options=$(section_tags "$page" OPTIONS)
    for option in $(grep -oE '(^|[][ |,])--?[a-zA-Z][a-zA-Z0-9-]*' <<<"$help" | sed 's/^[][ |,]//' | sort -u); do
        grep -qE -- "(^|[ \"])$option([ \",]|\$)" <<<"$options" \
            || fail "$name.1 has no item for the option '$option' that --help names"
    done
    environment=$(section_tags "$page" ENVIRONMENT)
    for variable in $(grep -oE '\bZARNITH_[A-Z_]+' <<<"$help" | sort -u); do
        grep -qw -- "$variable" <<<"$environment" \
            || fail "$name.1 has no item for the environment variable '$variable' that --help names"
    done
    for section in "EXIT STATUS" FILES; do
        grep -q "^\.SH \"\\?$section\"\\?\$" "$page" || fail "$name.1 has no $section section"
    done
done

[ "$failures" -eq 0 ] || exit 1
echo "man pages: $# checked"
