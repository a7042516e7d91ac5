#!/usr/bin/env bash
# The bash completion of wingbook-cli, which reads the commands and options from the program's
# --help: commands, global options and their values, a command's choices and flags.
# usage: completion.sh WINGBOOK_CLI FIXTURES_DIR
set -u
cli=$1
here=$(cd "$(dirname "$0")/../.." && pwd)
failures=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export XDG_CONFIG_HOME=$tmp/config
# shellcheck source=/dev/null
source "$here/packaging/wingbook-cli.bash-completion"
touch "$tmp/trip.xml" "$tmp/trip.csv"
mkdir "$tmp/refs"

# complete EXPECTED WORDS...: completes the last word and compares the sorted candidates.
complete_words() {
    local expected=$1
    shift
    COMP_WORDS=("$cli" "$@")
    COMP_CWORD=$#
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _wingbook_cli
    local actual
    actual=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//')
    if [[ $actual != "$expected" ]]; then
        echo "FAIL: completing '$*': '$actual', expected '$expected'"
        failures=$((failures + 1))
    fi
}

# Every command of --help is offered, and no word of a summary.
commands=$("$cli" --help | awk '/^Commands:/ { on = 1; next } on && /^$/ { exit } on { print $1 }' |
    sort | tr '\n' ' ' | sed 's/ $//')
[[ $commands == *lookup*show* ]] || { echo "FAIL: --help lists no commands: $commands"; exit 1; }
complete_words "$commands" ""
complete_words "save search show" "s"
complete_words "save search show" --option DisplayLatestFlightsFirst=off "s"
complete_words "--def-files-path --help --option --version" "--"
complete_words "DisplayLatestFlightsFirst=off DisplayLatestFlightsFirst=on" --option "DisplayLatest"
complete_words "$tmp/refs" --def-files-path "$tmp/r"
complete_words "airline airport" lookup "a"
complete_words "" lookup airline "B"
complete_words "airlines airports" --def-files-path "$tmp/refs" search ""
complete_words "--case-sensitive" search airports "^par" "--"
complete_words "--json" show "--"
complete_words "$tmp/trip.csv $tmp/trip.xml" show "$tmp/trip"
complete_words "$tmp/trip.csv $tmp/trip.xml" save "$tmp/trip.xml" "$tmp/trip"
complete_words "" save "$tmp/trip.xml" "$tmp/trip.xml" "$tmp/trip"
# A usage longer than the help's usage column: the flags still come from the usage alone.
complete_words "--dry-run --json" add-flight "$tmp/trip.xml" "--"
complete_words "" unknown-command ""

if ((failures)); then
    echo "$failures completion check(s) failed"
    exit 1
fi
echo "completion checks passed"
