#!/usr/bin/env bash
# wingbook-cli lookup and search over the shipped reference files and over small test tables.
# usage: lookup.sh WINGBOOK_CLI FIXTURES_DIR
set -u
cli=$1
fixtures=$2/refdata
failures=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# expect NAME STATUS EXPECTED_STDOUT COMMAND...: runs the command, compares status and output
# (trailing line breaks of the output are not compared).
expect() {
    local name=$1 status=$2 expected=$3
    shift 3
    local actual rc
    actual=$("$@" 2>"$tmp/stderr")
    rc=$?
    if [[ $rc != "$status" || $actual != "$expected" ]]; then
        echo "FAIL: $name: status $rc (expected $status)"
        echo "  output:   $(printf '%q' "$actual")"
        echo "  expected: $(printf '%q' "$expected")"
        echo "  stderr:   $(cat "$tmp/stderr")"
        failures=$((failures + 1))
    elif [[ $status != 0 && ! -s $tmp/stderr ]]; then
        echo "FAIL: $name: status $rc without a message on stderr"
        failures=$((failures + 1))
    fi
}

tab=$'\t'

# The shipped files, found beside the program without any option.
expect "shipped airline" 0 "British Airways" "$cli" lookup airline BA
expect "shipped airport" 0 $'Charles De Gaulle\nParis\nFrance' "$cli" lookup airport CDG
expect "unknown airport" 1 "" "$cli" lookup airport QQQ
expect "code is case-sensitive" 1 "" "$cli" lookup airline ba
expect "search names" 0 "LH${tab}Lufthansa"$'\n'"LH${tab}Lufthansa Cargo" \
    "$cli" search airlines '^lufthansa( cargo)?$'
expect "search case-sensitive" 0 "" "$cli" search airlines '^lufthansa$' --case-sensitive
expect "search airports" 0 "CDG${tab}Charles De Gaulle|Paris, France" \
    "$cli" search airports '^charles de gaulle\|'

# A folder of its own.
expect "first of two entries" 0 "First Air" "$cli" --def-files-path "$fixtures" lookup airline XA
expect "comment after the name" 0 "Zürich Air " "$cli" --def-files-path "$fixtures" lookup airline XC
expect "lower-case code" 1 "" "$cli" --def-files-path "$fixtures" lookup airline XB
expect "city with region" 0 $'Portland Intl\nPortland, Oregon\nUnited States' \
    "$cli" --def-files-path "$fixtures" lookup airport PDX
expect "no city" 0 "Heathrow" "$cli" --def-files-path "$fixtures" lookup airport LHR
expect "search values of duplicate keys" 0 "XA${tab}First Air"$'\n'"XA${tab}Second Air" \
    "$cli" --def-files-path "$fixtures" search airlines '^(first|second) '
expect "search unicode caseless" 0 "XC${tab}Zürich Air " \
    "$cli" --def-files-path "$fixtures" search airlines 'ZÜRICH'

# Missing and unreadable files, bad arguments.
expect "missing folder" 1 "" "$cli" --def-files-path "$tmp/nowhere" lookup airline XA
mkdir -p "$tmp/unreadable/Airlines.def"
expect "unreadable file" 1 "" "$cli" --def-files-path "$tmp/unreadable" lookup airline XA
if ! grep -q "unreadable/Airlines.def" "$tmp/stderr"; then
    echo "FAIL: the message on an unreadable file does not name it: $(cat "$tmp/stderr")"
    failures=$((failures + 1))
fi
expect "unreadable file in search" 1 "" "$cli" --def-files-path "$tmp/unreadable" search airlines x
expect "invalid pattern" 2 "" "$cli" search airlines '(unclosed'
expect "neither airline nor airport" 2 "" "$cli" lookup country FR
expect "missing code" 2 "" "$cli" lookup airline
expect "missing pattern" 2 "" "$cli" search airports

if ((failures > 0)); then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
