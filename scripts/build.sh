#!/usr/bin/env bash
# Configures and builds one build tree: build.sh DIR [extra cmake arguments...]
# WINGBOOK_BUILD_TARGETS, when set, names the targets to build instead of all of them.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
shift
launcher=()
# ccache, when installed, keeps rebuilds of several checkouts of the tree short.
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$here")}
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
targets=()
for t in ${WINGBOOK_BUILD_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
