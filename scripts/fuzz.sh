#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) into build/fuzz and runs each for SECONDS (default 20), starting
# from its seeds in tests/fuzz/corpus/<target>. An input that crashes, hangs, leaks or fails a
# check is kept as build/fuzz/artifacts/<target>-crash-... (or -timeout-, -leak-, -oom-) and
# the script exits 1. With FUZZ_RUNS=N in the environment each target stops after N executions,
# SECONDS then being the most it may take.
# usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
shift || true
"$here/scripts/install-deps.sh"

dir=$here/build/fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for src in "$here"/tests/fuzz/fuzz_*.cpp; do
        targets+=("$(basename "$src" .cpp)")
    done
fi

launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$here")}
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" \
    -DWINGBOOK_SANITIZE=ON -DWINGBOOK_FUZZ=ON >/dev/null
cmake --build "$dir" --target "${targets[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$dir/artifacts"
passed=0
failed=0
for t in "${targets[@]}"; do
    seeds=$here/tests/fuzz/corpus/$t
    work=$dir/corpus/$t # new inputs go here; the seeds in the repository stay as they are
    mkdir -p "$work" "$seeds"
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$dir/artifacts/$t-")
    [ -f "$here/tests/fuzz/$t.dict" ] && options+=(-dict="$here/tests/fuzz/$t.dict")
    [ -n "${FUZZ_RUNS:-}" ] && options+=(-runs="$FUZZ_RUNS")
    log=$dir/$t.log
    if "$dir/bin/$t" "${options[@]}" "$work" "$seeds" >"$log" 2>&1; then
        passed=$((passed + 1))
        verdict=ok
    else
        failed=$((failed + 1))
        verdict="FAILED (see $log)"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
    echo "$t: ${runs:-?} executions in ${took:-?} s, $(ls "$work" | wc -l) inputs in the corpus: $verdict"
    if [ "$verdict" != ok ]; then
        grep -m1 -B2 -A25 -E "ERROR:|check failed|runtime error|==[0-9]+==" "$log" || tail -40 "$log"
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
