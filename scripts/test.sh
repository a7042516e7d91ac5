#!/usr/bin/env bash
# Installs what is needed, builds Wingbook with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test. Window tests run on the offscreen platform, so no display is needed.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" "$here/build/asan" -DWINGBOOK_SANITIZE=ON
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$here/build/asan"
ctest --output-on-failure -j"$(nproc)" --timeout 600
