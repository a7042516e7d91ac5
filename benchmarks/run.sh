#!/usr/bin/env bash
# Generates logs of 10,000 and 1,000,000 flights, then times opening, sorting and saving them
# beside `xmllint --stream --noout` on the same files, and importing their flights back as CSV
# beside Python's csv module reading the same file. Run from a release build:
#   benchmarks/run.sh [BUILD_DIR]    (default build/release)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/release}
[ -x "$build/bin/bench_log" ] && [ -x "$build/bin/bench_import" ] || "$here/scripts/build.sh" "$build"
out=$here/benchmarks/out
mkdir -p "$out"
for n in 10000 1000000; do
    [ -f "$out/log-$n.xml" ] || "$build/bin/generate_log" "$n" "$out/log-$n.xml"
done
for n in 10000 1000000; do
    start=$(date +%s.%N)
    xmllint --stream --noout "$out/log-$n.xml"
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" -v n="$n" 'BEGIN { printf "xmllint --stream --noout log-%s.xml: %.3f s\n", n, e - s }'
done
for n in 10000 1000000; do
    "$build/bin/bench_log" "$out/log-$n.xml"
done
if [ -x "$build/bin/bench_open_window" ]; then
    QT_QPA_PLATFORM=offscreen "$build/bin/bench_open_window" "$out/log-10000.xml" "$out/log-1000000.xml"
fi
# Importing every flight of a log back into it as CSV, beside Python's csv module reading the
# same file (the import's time is the one bench_import prints; python3's is the whole process).
for n in 10000 1000000; do
    [ -f "$out/flights-$n.csv" ] || "$build/bin/generate_flights_csv" "$out/log-$n.xml" "$out/flights-$n.csv"
    "$build/bin/bench_import" "$out/log-$n.xml" "$out/flights-$n.csv"
    start=$(date +%s.%N)
    python3 -c "import csv,sys; sum(1 for _ in csv.reader(open(sys.argv[1])))" "$out/flights-$n.csv"
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" -v n="$n" 'BEGIN { printf "python3 csv.reader flights-%s.csv: %.3f s\n", n, e - s }'
done
