#!/usr/bin/env bash
# Builds the Debian package wingbook_<version>_amd64.deb: package.sh [OUTDIR]
# (default build/package). The programs are built in release mode in build/package-tree.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$here/build/package}" && cd "${1:-$here/build/package}" && pwd)
tree=$here/build/package-tree

"$here/scripts/install-deps.sh"
# Only what the package holds is built; installing then needs nothing else.
WINGBOOK_BUILD_TARGETS="wingbook wingbook-cli wingbook_icons wingbook_manpages" \
    "$here/scripts/build.sh" "$tree" -DCMAKE_BUILD_TYPE=Release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON

rm -f "$out"/wingbook_*.deb
(cd "$tree" && cpack -G DEB -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
ls "$out"/wingbook_*.deb
