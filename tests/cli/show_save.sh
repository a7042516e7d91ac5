#!/usr/bin/env bash
# wingbook-cli show and save on hand-made logs: usage: show_save.sh CLI FIXTURES
set -u
cli=$1
fixtures=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_status() { # expected actual what
    [ "$1" -eq "$2" ] || fail "$3: exit status $2, expected $1"
}

log=$fixtures/logs/handmade.xml

# show --json: sorted, counted, preferred values from their start-up values.
"$cli" show "$log" --json >"$work/show.json"
expect_status 0 $? "show --json"
diff -u "$fixtures/logs/handmade.expected.json" "$work/show.json" || fail "show --json output"

# Options from the command line change the read.
"$cli" --option DisplayLatestFlightsFirst=off --option SortAlphabeticalCodes=off show "$log" --json >"$work/unsorted.json"
expect_status 0 $? "show with options off"
first_date=$(grep -m1 '"Date"' "$work/unsorted.json" | tr -d ' ,')
[ "$first_date" = '"Date":"2023-01-04"' ] || fail "options off keeps file order, got $first_date"

# Text output: one table each, the counts line and the preferred values.
"$cli" show "$log" >"$work/show.txt"
expect_status 0 $? "show"
grep -q '^4 flight(s) - 3 airline(s) - 3 airport(s) - 2 distance(s)$' "$work/show.txt" || fail "counts line"
grep -q '^PreferredFromAirport: JFK$' "$work/show.txt" || fail "preferred airport in text output"

# save writes the log as Save does, with a backup of the file it replaces.
cp "$log" "$work/trip.xml"
"$cli" save "$work/trip.xml"
expect_status 0 $? "save in place"
cmp -s "$log" "$work/trip.~xml" || fail "backup holds the previous contents"
head -c 38 "$work/trip.xml" | grep -q '<?xml version="1.0" encoding="UTF-8"?>' || fail "declaration"
grep -q '^    <Flights>$' "$work/trip.xml" || fail "four-space indentation"
"$cli" show "$work/trip.xml" --json >"$work/reread.json"
diff -q "$work/show.json" "$work/reread.json" >/dev/null || fail "saved log reads back the same"

"$cli" save "$log" "$work/copy.xml"
expect_status 0 $? "save to another file"
[ -f "$work/copy.~xml" ] && fail "no backup when there was no file"

# Errors: missing and malformed logs, bad arguments, failed writes.
"$cli" show "$work/missing.xml" 2>"$work/err" >/dev/null
expect_status 1 $? "missing log"
grep -q 'missing.xml' "$work/err" || fail "missing log named on standard error"

printf 'not xml at all' >"$work/bad.xml"
"$cli" save "$work/bad.xml" "$work/never.xml" 2>"$work/err" >/dev/null
expect_status 1 $? "malformed log"
grep -q '^Line: 1$' "$work/err" || fail "parse error names the line"
[ -e "$work/never.xml" ] && fail "nothing written for a malformed log"

"$cli" save "$log" "$work/no/such/folder/out.xml" 2>"$work/err" >/dev/null
expect_status 1 $? "save into a missing folder"

"$cli" show 2>/dev/null
expect_status 2 $? "show without a log"
"$cli" --option NoSuchOption=on show "$log" 2>/dev/null >/dev/null
expect_status 2 $? "unknown option"
"$cli" frobnicate 2>/dev/null
expect_status 2 $? "unknown command"
"$cli" --version | grep -q '^wingbook-cli 1\.0\.17\.0$' || fail "--version"
"$cli" --help | grep -q 'show LOG' || fail "--help lists the commands"

echo "show_save: $failures failed"
[ "$failures" -eq 0 ]
