#!/usr/bin/env bash
# Usage: completion.sh COMPLETION_SCRIPT ZARNITH_CLI
# The bash completion offers the commands that zarnith-cli --help lists, the options of the command
# being typed with their values, and for each argument the files of its kind.
set -uo pipefail
script=$1
cli=$2
bash_completion=/usr/share/bash-completion/bash_completion
if [ ! -f "$bash_completion" ]; then
    echo "SKIPPED: bash-completion is not installed (Debian package bash-completion)"
    exit 77
fi
# shellcheck source=/dev/null
source "$bash_completion"
# shellcheck source=/dev/null
source "$script"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
mkdir site
touch a.loc b.json c.au d.txt

failures=0
# Completes the words after zarnith-cli (the last one being typed) and compares the offers.
expect() {
    local line="$cli $1"
    COMP_LINE=$line
    COMP_POINT=${#line}
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _zarnith_cli
    local offered
    offered=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
    if [ "$offered" != "$2" ]; then
        echo "FAIL: after 'zarnith-cli $1' offered '$offered', expected '$2'"
        failures=$((failures + 1))
    fi
}

help=$("$cli" --help)
commands=$(sed -n '/^commands:/,$p' <<<"$help" | awk 'NR > 1 && /^  [a-z]/ { print $1 }' | sort | xargs)
html_options=$(grep '^  html ' <<<"$help" | grep -oE -- '-[-a-z]+' | sort | xargs)
expect "" "$commands"
expect "--" "--help --version"
expect "html " "a.loc site"
expect "html a.loc -" "$html_options"
expect "html a.loc --box " "both classic modern"
expect "html a.loc --form " "file preview segment"
expect "html -o out.html " "a.loc site"
expect "html a.loc --form segment -o " "a.loc b.json c.au d.txt site"
expect "build " "b.json site"
expect "build b.json " "a.loc site"
expect "au2wav " "c.au site"
expect "locks a.loc --form " "file preview"
expect "publish a.loc " "site"
expect "scramble " ""
expect "nosuchcommand " ""

[ "$failures" -eq 0 ] || exit 1
echo "completion: every case offered what was expected"
