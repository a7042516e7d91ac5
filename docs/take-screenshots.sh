#!/usr/bin/env bash
# Takes the screenshots of the README again: docs/take-screenshots.sh [BUILD_DIR]
# Uses the programs of BUILD_DIR as they are, or builds them in build/release; makes a small log with wingbook-cli add-flight,
# (its distances computed from the airports' positions), starts wingbook under Xvfb with
# settings of its own and photographs the main window, the flight dialog, the options dialog,
# the route map and the charts, driving them with the keyboard as a user would.
# Needs: xvfb-run (xvfb), xdotool, import (imagemagick).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/release}
shots=$here/docs/screenshots

for tool in xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || {
        echo "take-screenshots: $tool is missing (apt-get install xvfb xdotool imagemagick)" >&2
        exit 1
    }
done
if [[ $# == 0 ]]; then
    WINGBOOK_BUILD_TARGETS="wingbook wingbook-cli" "$here/scripts/build.sh" "$build"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
log=$work/Travels.xml
while read -r date time from to airline flight; do
    "$build/bin/wingbook-cli" --option ComputeDistances=on add-flight "$log" "$date" "$time" "$from" "$to" "$airline" "$flight" >/dev/null
done <<'FLIGHTS'
2025-03-02 07:40 CDG JFK AF 6
2025-03-09 17:15 JFK CDG AF 7
2025-04-14 09:05 CDG FCO AF 1404
2025-04-18 19:30 FCO CDG AF 1205
2025-06-01 11:20 CDG NRT JL 46
2025-06-15 10:55 NRT CDG JL 45
2025-07-03 08:10 CDG LHR BA 303
2025-07-06 20:40 LHR CDG BA 328
2025-09-12 06:50 CDG CPH SK 562
2025-09-14 18:05 CPH CDG SK 567
2025-11-20 13:30 CDG YUL AC 871
2025-11-27 21:45 YUL CDG AC 870
2026-01-10 09:15 CDG NRT AF 276
2026-01-17 17:00 NRT SFO JL 2
2026-01-24 15:35 SFO CDG AF 83
FLIGHTS

export LOG=$log SHOTS=$shots WINGBOOK=$build/bin/wingbook
xvfb-run -a -s "-screen 0 1280x900x24" bash -euo pipefail -c '
    "$WINGBOOK" "$LOG" &
    program=$!
    trap "kill $program 2>/dev/null || true" EXIT
    # shot TITLE FILE: waits for the window of that title and photographs it.
    shot() {
        local window
        window=$(timeout 60 xdotool search --sync --onlyvisible --name "$1" | tail -1)
        [[ -n $window ]] || { echo "take-screenshots: no window \"$1\"" >&2; exit 1; }
        xdotool windowfocus --sync "$window"
        sleep 1
        import -window "$window" "$SHOTS/$2"
    }
    # keys KEY...: one key at a time, as typed.
    keys() {
        for key in "$@"; do
            xdotool key "$key"
            sleep 0.4
        done
    }
    shot " - Wingbook$" main-window.png
    # Tools, Add, Flight: the flight dialog, preset with the log'"'"'s favourite airports.
    keys alt+t Down Right Return
    shot "Add Flight" flight-dialog.png
    keys Escape
    # Tools, Options (the last item of the menu).
    window=$(xdotool search --onlyvisible --name " - Wingbook$" | tail -1)
    xdotool windowfocus --sync "$window"
    keys alt+t Up Return
    shot "Options" options-dialog.png
    keys Escape
    # Tools, Route Map... and Charts... (the third and second items from the end).
    xdotool windowfocus --sync "$window"
    keys alt+t Up Up Up Return
    shot "Route Map" route-map.png
    keys Escape
    xdotool windowfocus --sync "$window"
    keys alt+t Up Up Return
    shot "Charts" charts.png
    keys Escape
'
ls -l "$shots"
