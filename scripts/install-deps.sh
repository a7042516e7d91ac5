#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Wingbook needs.
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail

packages=(
    cmake g++ ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libxml2-dev libabsl-dev libpcre2-dev libcurl4-openssl-dev libssl-dev liblnk-dev
    libxml2-utils xvfb xauth fonts-dejavu-core adwaita-icon-theme
    locales
    jq ccache
    clang libclang-rt-14-dev
    # the Debian package, its manual pages, icons and desktop files, and their checks
    dpkg-dev file help2man librsvg2-bin desktop-file-utils appstream shared-mime-info xdg-utils
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

# Locale-dependent tests read dates under these locales.
need_locales=(en_US.UTF-8 en_GB.UTF-8 de_DE.UTF-8 fr_FR.UTF-8)
if command -v locale >/dev/null; then
    have=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
    gen=0
    for l in "${need_locales[@]}"; do
        key=$(echo "$l" | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
        if ! grep -qx "$key" <<<"$have"; then
            SUDO=""
            [ "$(id -u)" -eq 0 ] || SUDO="sudo"
            $SUDO sed -i "s/^# *\(${l//./\\.} UTF-8\)/\1/" /etc/locale.gen
            gen=1
        fi
    done
    if [ $gen -eq 1 ]; then
        SUDO=""
        [ "$(id -u)" -eq 0 ] || SUDO="sudo"
        $SUDO locale-gen >/dev/null
    fi
fi
