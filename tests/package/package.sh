#!/usr/bin/env bash
# Builds the Debian package with scripts/package.sh, unpacks it into a temporary folder and
# checks it as an installed copy: the files it holds, the programs run from there with the data
# found beside them, the desktop and AppStream files, the manual pages and the log file type.
# usage: package.sh FIXTURES_DIR
set -u
here=$(cd "$(dirname "$0")/../.." && pwd)
fixtures=$1
failures=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

if ! "$here/scripts/package.sh" "$tmp/out" >"$tmp/package.log" 2>&1; then
    cat "$tmp/package.log"
    echo "FAIL: scripts/package.sh"
    exit 1
fi
debs=("$tmp"/out/wingbook_*_amd64.deb)
[[ ${#debs[@]} == 1 && -f ${debs[0]} ]] || { echo "FAIL: one package expected: ${debs[*]}"; exit 1; }
deb=${debs[0]}
version=$(sed -nE 's/^project\(Wingbook VERSION ([0-9.]+).*/\1/p' "$here/CMakeLists.txt")
[[ $(basename "$deb") == "wingbook_${version}_amd64.deb" ]] || fail "package name $(basename "$deb")"

# The dependencies dpkg-shlibdeps found: the libraries the programs link.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libqt6core6 libqt6widgets6 libxml2 libpcre2-16-0 liblnk1 qt6-qpa-plugins; do
    [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done

root=$tmp/root
dpkg-deb -x "$deb" "$root"
for f in usr/bin/wingbook usr/bin/wingbook-cli usr/bin/wingbook.txt \
    "usr/share/Marovek/Common Files/Countries.def" usr/share/Marovek/Wingbook/Airlines.def \
    usr/share/Marovek/Wingbook/Airports.def usr/share/Marovek/Wingbook/ATTRIBUTION.md \
    usr/share/applications/wingbook.desktop usr/share/metainfo/com.marovek.Wingbook.metainfo.xml \
    usr/share/mime/packages/wingbook.xml usr/share/icons/hicolor/scalable/apps/wingbook.svg \
    usr/share/man/man1/wingbook.1.gz usr/share/man/man1/wingbook-cli.1.gz \
    usr/share/bash-completion/completions/wingbook-cli usr/share/doc/wingbook/copyright; do
    [[ -f $root/$f ]] || fail "missing $f"
done
for size in 16 32 48 64 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/wingbook.png
    file -b "$png" | grep -q "PNG image data, $size x $size" || fail "icon $size: $(file -b "$png")"
done
# Nothing of the build tree or the tests is shipped.
unexpected=$(cd "$root" && find . -type f | grep -vE '^\./usr/(bin|share)/' || true)
[[ -z $unexpected ]] || fail "unexpected files: $unexpected"
[[ -z $(cd "$root" && find . -name 'tst_*' -o -name 'bench_*') ]] || fail "test programs shipped"

desktop-file-validate "$root/usr/share/applications/wingbook.desktop" || fail "desktop-file-validate"
grep -qx 'MimeType=application/x-wingbook-log;' "$root/usr/share/applications/wingbook.desktop" ||
    fail "the desktop entry does not open logs"
appstreamcli validate --no-net "$root/usr/share/metainfo/com.marovek.Wingbook.metainfo.xml" \
    >"$tmp/appstream.log" 2>&1 || { cat "$tmp/appstream.log"; fail "appstreamcli validate"; }
grep -q "release version=\"$version\"" "$root/usr/share/metainfo/com.marovek.Wingbook.metainfo.xml" ||
    fail "metainfo release is not $version"

# The unpacked programs find the shipped data beside their folder; no settings of the user.
export XDG_CONFIG_HOME=$tmp/config
cli=$root/usr/bin/wingbook-cli
out=$("$cli" lookup airport CPH) || fail "lookup airport CPH"
[[ $out == $'Kastrup\nCopenhagen\nDenmark' ]] || fail "lookup airport CPH: $out"
out=$("$cli" lookup airline BA) || fail "lookup airline BA"
[[ $out == "British Airways" ]] || fail "lookup airline BA: $out"
"$cli" show "$fixtures/logs/handmade.xml" --json >"$tmp/show.json" || fail "show"
cmp -s "$tmp/show.json" "$fixtures/logs/handmade.expected.json" || fail "show --json differs"
"$cli" save "$fixtures/logs/handmade.xml" "$tmp/saved.xml" || fail "save"
# The window program answers --help and --version without a display.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/wingbook" --version |
    grep -qx "wingbook $version" || fail "wingbook --version"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/wingbook" --help |
    grep -q "^Usage: wingbook \[LOG\]" || fail "wingbook --help"

# The manual pages are the programs' --help: every command of wingbook-cli is in its page.
page=$(zcat "$root/usr/share/man/man1/wingbook-cli.1.gz")
[[ $page == *'.SH "SEE ALSO"'* || $page == *'.SH SEE ALSO'* ]] || fail "wingbook-cli page lacks SEE ALSO"
while read -r command; do
    [[ $page == *"$command"* ]] || fail "wingbook-cli page lacks the command $command"
done < <("$cli" --help | awk '/^Commands:/ { on = 1; next } on && /^$/ { exit } on { print $1 }')
zcat "$root/usr/share/man/man1/wingbook.1.gz" | grep -q 'show the version and exit' || fail "wingbook page"

# The log file type, in a MIME database of its own: the system's types and the package's.
mkdir -p "$tmp/mime/mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$root/usr/share/mime/packages/wingbook.xml" \
    "$tmp/mime/mime/packages/"
update-mime-database "$tmp/mime/mime" >/dev/null 2>&1 || fail "update-mime-database"
printf '<?xml version="1.0" encoding="UTF-8"?>\n<Feed>\n<Wingbook/>\n</Feed>\n' >"$tmp/other.xml"
printf '<?xml version="1.0"?>\n<WingbookSettings/>\n' >"$tmp/similar.xml"
printf '<?xml version="1.0"?>\r\n<Wingbook Version="1">\r\n</Wingbook>\r\n' >"$tmp/crlf.xml"
printf '<Wingbook>\n<Flights/>\n</Wingbook>\n' >"$tmp/bare.xml"
cp "$tmp/saved.xml" "$tmp/saved.txt"
filetype() {
    XDG_DATA_DIRS=$tmp/mime XDG_DATA_HOME=$tmp/mime/none XDG_CURRENT_DESKTOP=GNOME \
        xdg-mime query filetype "$1" 2>/dev/null
}
for check in "saved.xml application/x-wingbook-log" "crlf.xml application/x-wingbook-log" \
    "bare.xml application/x-wingbook-log" "other.xml application/xml" \
    "similar.xml application/xml" "saved.txt text/plain"; do
    read -r name expected <<<"$check"
    actual=$(filetype "$tmp/$name")
    [[ $actual == "$expected" ]] || fail "file type of $name: $actual, expected $expected"
done

# The file manager opens a log with the program: the desktop entry is the type's application.
mkdir -p "$tmp/desktop/applications"
cp "$root/usr/share/applications/wingbook.desktop" "$tmp/desktop/applications/"
update-desktop-database "$tmp/desktop/applications" || fail "update-desktop-database"
actual=$(XDG_DATA_DIRS=$tmp/desktop XDG_DATA_HOME=$tmp/desktop/none XDG_CURRENT_DESKTOP=GNOME \
    xdg-mime query default application/x-wingbook-log 2>/dev/null)
[[ $actual == wingbook.desktop ]] || fail "application of a log: $actual"

if ((failures)); then
    echo "$failures check(s) failed"
    exit 1
fi
echo "package checks passed"
