#!/usr/bin/env bash
# Times opening, editing and saving logs of 10,000, 1,000,000 and 5,000,000 flights, each
# figure beside `xmllint --stream --noout` on the same file and measured in the same rounds:
# the reference and the figure run in turn, A B A B ..., and the ratio is taken round by round,
# so that a machine whose speed drifts (other work running) still gives a fair ratio. The table
# shows the median of the rounds.
#
#   benchmarks/run.sh [BUILD_DIR] [ROUNDS]      (default build/release, 5 rounds)
#   SIZES="10000 1000000" benchmarks/run.sh     (leave out the 5,000,000-flight log)
#
# Needs only public tools: xmllint (libxml2-utils), GNU time is not needed (the programs report
# their own peak memory), awk.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/release}
rounds=${2:-5}
sizes=${SIZES:-10000 1000000 5000000}
[ -x "$build/bin/bench_log" ] || "$here/scripts/build.sh" "$build"
out=$here/benchmarks/out
mkdir -p "$out"

now() { date +%s.%N; }
# Seconds taken by a command (its output thrown away).
timed() {
    local start end
    start=$(now)
    "$@" >/dev/null 2>&1
    end=$(now)
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f", e - s }'
}
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.4f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
ms() { awk -v s="$1" 'BEGIN { printf "%.1f ms", s * 1000 }'; }

machine="$(nproc) cores, $(awk '/model name/ { sub(/.*: /, ""); print; exit }' /proc/cpuinfo), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Machine: $machine"
echo "Build: $build; $rounds rounds per figure, median shown; ratio = figure / xmllint of the same round"
echo

for n in $sizes; do
    log=$out/log-$n.xml
    [ -f "$log" ] || "$build/bin/generate_log" "$n" "$log"
    size_mb=$(( $(stat -c %s "$log") / 1000000 ))
    work=$(mktemp -d)
    declare -A values=()
    for ((i = 0; i < rounds; i++)); do
        ref=$(timed xmllint --stream --noout "$log")
        values[xmllint]+="$ref "
        "$build/bin/bench_log" --figures "$log" >"$work/figures"
        while read -r name value; do
            values[$name]+="$value "
            case $name in open | save) values[${name}_ratio]+="$(ratio "$value" "$ref") " ;; esac
        done <"$work/figures"
        ref=$(timed xmllint --stream --noout "$log")
        show=$(timed "$build/bin/wingbook-cli" show --json "$log")
        values[show]+="$show "
        values[show_ratio]+="$(ratio "$show" "$(awk '/^open /{ print $2 }' "$work/figures")") "
        if [ -x "$build/bin/bench_open_window" ]; then
            QT_QPA_PLATFORM=offscreen "$build/bin/bench_open_window" "$log" >"$work/window" 2>&1 || true
            # "..., Open to first painted rows N ms, read without window M ms, ratio R"
            win=$(sed -n 's/.*first painted rows \([0-9.]*\) ms.*ratio \([0-9.]*\).*/\1 \2/p' "$work/window")
            if [ -n "$win" ]; then
                values[window]+="$(awk -v m="${win% *}" 'BEGIN { printf "%.4f", m / 1000 }') "
                values[window_ratio]+="${win#* } "
            fi
        fi
    done
    med() { tr ' ' '\n' <<<"${values[$1]:-}" | grep . | median; }
    printf '%s flights (%s MB)\n' "$(printf "%'d" "$n")" "$size_mb"
    printf '  %-58s %s\n' "xmllint --stream --noout" "$(ms "$(med xmllint)")"
    printf '  %-58s %-10s x%s\n' "open (parse, rows, sorts, counts, preferred values)" "$(ms "$(med open)")" "$(med open_ratio)"
    printf '  %-58s %-10s x%s\n' "save (backup, write, rename)" "$(ms "$(med save)")" "$(med save_ratio)"
    printf '  %-58s %s MB\n' "peak memory of the process (open, sorts, edits, save)" "$(med peak_mb)"
    printf '  %-58s %-10s x%s of open\n' "wingbook-cli show --json > /dev/null (whole process)" "$(ms "$(med show)")" "$(med show_ratio)"
    printf '  %-58s %s / %s\n' "add a flight, first / next" "$(ms "$(med add)")" "$(ms "$(med add_again)")"
    printf '  %-58s %s / %s\n' "modify a flight, first / next" "$(ms "$(med modify)")" "$(ms "$(med modify_again)")"
    printf '  %-58s %s / %s\n' "delete a flight, first / next" "$(ms "$(med delete)")" "$(ms "$(med delete_again)")"
    printf '  %-58s %s\n' "four sorts (text, numbers, latest first)" "$(ms "$(med sorts)")"
    if [ -n "${values[window]:-}" ]; then
        printf '  %-58s %-10s x%s of open\n' "Open command to first painted rows (window, offscreen)" "$(ms "$(med window)")" "$(med window_ratio)"
    fi
    echo
    unset values
    rm -rf "$work"
done
