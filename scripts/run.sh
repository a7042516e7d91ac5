#!/usr/bin/env bash
# Installs what is needed, builds Wingbook and starts it. Arguments go to the program.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" "$here/build/release"
exec "$here/build/release/bin/wingbook" "$@"
