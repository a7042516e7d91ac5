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
# Then, for IMPORT_SIZES (default 10,000 and 1,000,000), every flight of the log is written back
# as a CSV file (generate_flights_csv) and imported into the log (bench_import: the import alone,
# the log opened first), beside Python's csv module reading the same file in the same rounds
# (`python3 -c "import csv,sys; sum(1 for _ in csv.reader(open(sys.argv[1])))" FILE`, the whole
# process).
#
# Ratios are given for wall-clock time and for processor time (user and system), which other
# work on the machine does not stretch. Needs only xmllint (libxml2-utils), bash and awk.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/release}
rounds=${2:-5}
sizes=${SIZES:-10000 1000000 5000000}
import_sizes=${IMPORT_SIZES:-10000 1000000}
[ -x "$build/bin/bench_log" ] && [ -x "$build/bin/bench_import" ] &&
    [ -x "$build/bin/bench_export_stats" ] || "$here/scripts/build.sh" "$build"
out=$here/benchmarks/out
mkdir -p "$out"

# "WALL CPU": the seconds a command took, and the processor seconds it used (user and system);
# its output is thrown away. Under load from other work the processor time stays fair.
measure() {
    local TIMEFORMAT='%3R %3U %3S'
    { time "$@" >/dev/null 2>/dev/null; } 2>&1 | awk '{ printf "%.4f %.4f", $1, $2 + $3 }'
}
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.4f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
ms() { awk -v s="$1" 'BEGIN { printf "%.1f ms", s * 1000 }'; }
# The median of the figures of one name in the array "values" of the size being measured.
med() { tr ' ' '\n' <<<"${values[$1]:-}" | grep . | median; }

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
        read -r ref ref_cpu <<<"$(measure xmllint --stream --noout "$log")"
        values[xmllint]+="$ref "
        values[xmllint_cpu]+="$ref_cpu "
        "$build/bin/bench_log" --figures "$log" >"$work/figures"
        while read -r name value; do
            values[$name]+="$value "
            case $name in
            open | save) values[${name}_ratio]+="$(ratio "$value" "$ref") " ;;
            open_cpu | save_cpu) values[${name}_ratio]+="$(ratio "$value" "$ref_cpu") " ;;
            esac
        done <"$work/figures"
        read -r show show_cpu <<<"$(measure "$build/bin/wingbook-cli" show --json "$log")"
        values[show]+="$show "
        values[show_ratio]+="$(ratio "$show" "$(awk '/^open /{ print $2 }' "$work/figures")") "
        values[show_cpu_ratio]+="$(ratio "$show_cpu" "$(awk '/^open_cpu /{ print $2 }' "$work/figures")") "
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
    printf '%s flights (%s MB)\n' "$(printf "%'d" "$n")" "$size_mb"
    printf '  %-58s %-10s (processor %s)\n' "xmllint --stream --noout" "$(ms "$(med xmllint)")" "$(ms "$(med xmllint_cpu)")"
    printf '  %-58s %-10s x%s (processor x%s)\n' "open (parse, rows, sorts, counts, preferred values)" "$(ms "$(med open)")" "$(med open_ratio)" "$(med open_cpu_ratio)"
    printf '  %-58s %-10s x%s (processor x%s)\n' "save (backup, write, rename)" "$(ms "$(med save)")" "$(med save_ratio)" "$(med save_cpu_ratio)"
    printf '  %-58s %s MB\n' "peak memory of the process (open, sorts, edits, save)" "$(med peak_mb)"
    printf '  %-58s %-10s x%s of open (processor x%s)\n' "wingbook-cli show --json > /dev/null (whole process)" "$(ms "$(med show)")" "$(med show_ratio)" "$(med show_cpu_ratio)"
    printf '  %-58s %s / %s (processor %s / %s)\n' "add a flight, first / next" "$(ms "$(med add)")" "$(ms "$(med add_again)")" "$(ms "$(med add_cpu)")" "$(ms "$(med add_again_cpu)")"
    printf '  %-58s %s / %s (processor %s / %s)\n' "modify a flight, first / next" "$(ms "$(med modify)")" "$(ms "$(med modify_again)")" "$(ms "$(med modify_cpu)")" "$(ms "$(med modify_again_cpu)")"
    printf '  %-58s %s / %s (processor %s / %s)\n' "delete a flight, first / next" "$(ms "$(med delete)")" "$(ms "$(med delete_again)")" "$(ms "$(med delete_cpu)")" "$(ms "$(med delete_again_cpu)")"
    printf '  %-58s %s\n' "four sorts (text, numbers, latest first)" "$(ms "$(med sorts)")"
    if [ -n "${values[window]:-}" ]; then
        printf '  %-58s %-10s x%s of open\n' "Open command to first painted rows (window, offscreen)" "$(ms "$(med window)")" "$(med window_ratio)"
    fi
    echo
    unset values
    rm -rf "$work"
done

for n in $import_sizes; do
    log=$out/log-$n.xml
    csv=$out/flights-$n.csv
    [ -f "$log" ] || "$build/bin/generate_log" "$n" "$log"
    [ -f "$csv" ] || "$build/bin/generate_flights_csv" "$log" "$csv"
    work=$(mktemp -d)
    declare -A values=()
    for ((i = 0; i < rounds; i++)); do
        read -r ref ref_cpu <<<"$(measure python3 -c 'import csv,sys; sum(1 for _ in csv.reader(open(sys.argv[1])))' "$csv")"
        values[python]+="$ref "
        values[python_cpu]+="$ref_cpu "
        "$build/bin/bench_import" --figures "$log" "$csv" >"$work/figures"
        while read -r name value; do
            values[$name]+="$value "
            case $name in
            import) values[import_ratio]+="$(ratio "$value" "$ref") " ;;
            import_cpu) values[import_cpu_ratio]+="$(ratio "$value" "$ref_cpu") " ;;
            esac
        done <"$work/figures"
    done
    printf 'Import of %s flight lines (%s MB CSV) into the log they came from\n' "$(printf "%'d" "$n")" "$(( $(stat -c %s "$csv") / 1000000 ))"
    printf '  %-58s %-10s (processor %s)\n' "python3 csv.reader over the file (whole process)" "$(ms "$(med python)")" "$(ms "$(med python_cpu)")"
    printf '  %-58s %-10s x%s (processor x%s)\n' "import (read, merge, references, sorts)" "$(ms "$(med import)")" "$(med import_ratio)" "$(med import_cpu_ratio)"
    echo
    unset values
    rm -rf "$work"
done

# The statistics and the exports: bench_export_stats times them in the process beside opening
# and saving the same log; bench_statistics_window the Statistics command to the first painted
# ranking, beside opening the log in the window.
for n in $sizes; do
    log=$out/log-$n.xml
    "$build/bin/bench_export_stats" "$log"
    if [ -x "$build/bin/bench_statistics_window" ]; then
        QT_QPA_PLATFORM=offscreen "$build/bin/bench_statistics_window" "$log" 2>/dev/null
    fi
    echo
done
