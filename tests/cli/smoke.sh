#!/usr/bin/env bash
# The built wingbook-cli runs: its help, its version and one command, with their exit statuses.
# Usage: smoke.sh PATH-TO-wingbook-cli FIXTURES-DIR
set -u
cli=$1
fixtures=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Keep the user's settings out of the test.
export HOME=$work XDG_CONFIG_HOME=$work/.config
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$cli" --help >"$work/out" 2>"$work/err"
[ $? = 0 ] || fail "--help: exit status"
grep -q '^  show LOG \[--json\] ' "$work/out" || fail "--help lists the commands: $(cat "$work/out")"
[ -s "$work/err" ] && fail "--help wrote to standard error: $(cat "$work/err")"

[ "$("$cli" --version)" = "wingbook-cli 1.0.17.0" ] || fail "--version"

"$cli" show "$fixtures/logs/handmade.xml" --json >"$work/out"
[ $? = 0 ] || fail "show: exit status"
cmp -s "$work/out" "$fixtures/logs/handmade.expected.json" || fail "show --json output differs"

# Output that cannot be written is a failure, not a success with nothing printed.
if [ -w /dev/full ]; then
    "$cli" show "$fixtures/logs/handmade.xml" --json >/dev/full 2>"$work/err"
    [ $? = 1 ] || fail "show --json to a full disk: exit status"
    grep -q '^wingbook-cli: Cannot write the output: ' "$work/err" || fail "full disk: $(cat "$work/err")"
fi

"$cli" show 2>"$work/err"
[ $? = 2 ] || fail "show without a log: exit status"
[ "$(cat "$work/err")" = "usage: wingbook-cli show LOG [--json]" ] || fail "usage line: $(cat "$work/err")"

"$cli" show "$work/missing.xml" 2>"$work/err"
[ $? = 1 ] || fail "missing log: exit status"

[ "$failures" = 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "smoke: all checks passed"
