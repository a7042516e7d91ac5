#!/usr/bin/env bash
# Generates logs of 10,000 and 1,000,000 flights, then times opening, sorting and saving them
# beside `xmllint --stream --noout` on the same files. Run from a release build:
#   benchmarks/run.sh [BUILD_DIR]    (default build/release)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/release}
[ -x "$build/bin/bench_log" ] || "$here/scripts/build.sh" "$build"
[ -x "$build/bin/bench_export_stats" ] || "$here/scripts/build.sh" "$build"
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
for n in 10000 1000000; do
    "$build/bin/bench_export_stats" "$out/log-$n.xml"
done
if [ -x "$build/bin/bench_statistics_window" ]; then
    QT_QPA_PLATFORM=offscreen "$build/bin/bench_statistics_window" "$out/log-10000.xml" "$out/log-1000000.xml"
fi
