#!/usr/bin/env bash
# add-flight: the Add mode of the flight dialog from the command line.
# Usage: add_flight.sh PATH-TO-wingbook-cli FIXTURES-DIR
set -uo pipefail
cli=$1
defs=$2/editing
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Keep the user's settings out of the test.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
mkdir -p "$HOME"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
run() { "$cli" --def-files-path "$defs" "$@" >"$work/out" 2>"$work/err"; echo $?; }
expect_status() { # expect_status STATUS DESCRIPTION -- ARGS...
    local want=$1 what=$2; shift 3
    local got; got=$(run "$@")
    [ "$got" = "$want" ] || fail "$what: exit status $got, expected $want ($(cat "$work/err"))"
}
expect_error() { # expect_error TEXT DESCRIPTION -- ARGS...
    local text=$1 what=$2; shift 3
    local got; got=$(run "$@")
    [ "$got" = 1 ] || fail "$what: exit status $got, expected 1"
    grep -qF -- "$text" "$work/err" || fail "$what: standard error lacks '$text': $(cat "$work/err")"
}
json() { jq -c "$1" "$work/out"; }

log=$work/new/log.xml
mkdir -p "$work/new"

# A log that does not exist yet is created; codes are upper-cased, the number padded, the
# reference rows filled from the reference files.
expect_status 0 "first flight" -- add-flight "$log" 2023-01-05 07:45 jfk cdg af 7
[ -f "$log" ] || fail "the log was not created"
expect_status 0 "show" -- show "$log" --json
[ "$(json '.Flights')" = '[{"Airline":"AF","Date":"2023-01-05","Flight":"007","From":"JFK","Time":"07:45","To":"CDG"}]' ] ||
    fail "flight row: $(json '.Flights')"
[ "$(json '.Airlines')" = '[{"Airline":"AF","Name":"Air France","ReferenceCount":1}]' ] ||
    fail "airline row: $(json '.Airlines')"
[ "$(json '[.Airports[] | [.Airport, .Name, .City, .Country, .ReferenceCount]]')" = \
    '[["CDG","Charles de Gaulle","Paris","France",1],["JFK","John F Kennedy Intl","New York","United States",1]]' ] ||
    fail "airport rows: $(json '.Airports')"
[ "$(json '.Distances')" = '[{"From":"CDG","Miles":"0","ReferenceCount":1,"To":"JFK"}]' ] ||
    fail "distance row: $(json '.Distances')"

# The same date and time is the same flight, whatever the route; the file stays as it was.
before=$(md5sum <"$log")
expect_error "The flight already exists." "duplicate" -- add-flight "$log" 2023-01-05 07:45 CDG JFK DL 8
[ "$(md5sum <"$log")" = "$before" ] || fail "a refused flight changed the log"

# The checks run in the dialog's order.
expect_error "The date value must be non-empty." "blank date first" -- add-flight "$log" "" "" "" "" "" ""
expect_error "The time value must be non-empty." "blank time" -- add-flight "$log" 2023-02-01 "" "" "" "" ""
expect_error "The from value must be non-empty." "from" -- add-flight "$log" 2023-02-01 10:00 "" X Y 1
expect_error "The to value must be non-empty." "to" -- add-flight "$log" 2023-02-01 10:00 JFK "" Y 1
expect_error "The airline value must be non-empty." "airline" -- add-flight "$log" 2023-02-01 10:00 JFK CDG "" 1
expect_error "The flight value must be non-empty." "flight" -- add-flight "$log" 2023-02-01 10:00 JFK CDG AF ""
expect_error '"2023-13-01"' "unreadable date named" -- add-flight "$log" 2023-13-01 10:00 JFK CDG AF 1
expect_error '"7.45"' "unreadable time named" -- add-flight "$log" 2023-02-01 7.45 JFK CDG AF 1
expect_status 2 "missing word" -- add-flight "$log" 2023-02-01 10:00 JFK CDG AF
[ "$(md5sum <"$log")" = "$before" ] || fail "a refused flight changed the log"

# --dry-run --json prints the counts as the operation left them and writes nothing.
expect_status 0 "dry run" -- add-flight "$log" 2023-01-06 09:00 CDG JFK AF 0012 --dry-run --json
[ "$(md5sum <"$log")" = "$before" ] || fail "--dry-run changed the log"
[ ! -e "$work/new/log.~xml" ] || fail "--dry-run made a backup"
[ "$(json '[.Flights[] | .Date + " " + .Flight]')" = '["2023-01-06 12","2023-01-05 007"]' ] ||
    fail "dry run flights (latest first): $(json '.Flights')"
[ "$(json '[.Airlines[].ReferenceCount, .Airports[].ReferenceCount, .Distances[].ReferenceCount]')" = '[2,2,2,2]' ] ||
    fail "dry run counts: $(cat "$work/out")"

# Saving keeps a backup of the old file; options decide the automatic filling.
expect_status 0 "no automatic airlines" -- --option AutoPopulateAirlines=off add-flight "$log" 2023-01-07 10:00 PDX JFK ZZ 1
[ -f "$work/new/log.~xml" ] || fail "no backup after the second save"
expect_status 0 "show" -- show "$log" --json
[ "$(json '[.Airlines[].Airline]')" = '["AF"]' ] || fail "airline row created with the option off"
[ "$(json '[.Airports[] | .Airport + ":" + .City + ":" + (.ReferenceCount|tostring)]')" = \
    '["CDG:Paris:1","JFK:New York:2","PDX:Portland, Oregon:1"]' ] || fail "airports: $(json '.Airports')"
[ "$(json '[.Distances[] | .From + .To]')" = '["CDGJFK","JFKPDX"]' ] || fail "distances: $(json '.Distances')"

# An unreadable log is reported and left alone.
printf 'not xml' >"$work/bad.xml"
expect_status 1 "unreadable log" -- add-flight "$work/bad.xml" 2023-01-05 07:45 JFK CDG AF 7
[ "$(cat "$work/bad.xml")" = "not xml" ] || fail "an unreadable log was overwritten"

[ "$failures" = 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "add_flight: all checks passed"
