#!/usr/bin/env bash
# Installs what the Windows build needs, when any of it is missing: the mingw-w64 cross compilers (POSIX
# thread model), Wine to run the programs and their tests, NSIS for the installer, Xvfb for a screen,
# zip, and what building Qt from Debian's sources takes. apt-get source needs deb-src entries: when the
# machine has none, they are derived from its own deb entries for its Debian release.
set -euo pipefail

packages=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine64 wine nsis xvfb xauth x11-apps x11-utils xdotool imagemagick zip unzip
    ninja-build dpkg-dev tcl fonts-liberation2
)

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

has_deb_src() {
    grep -rqsE '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/
}
added_src=no
if ! has_deb_src; then
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    list=/etc/apt/sources.list.d/korvane-deb-src.sources
    echo "Adding deb-src entries for $codename to $list"
    # deb822 stanzas of this release become deb-src stanzas; one-line entries likewise.
    stanzas=$(for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        awk -v RS= -v ORS='\n\n' -v release="$codename" \
            '$0 ~ "(^|\n)Suites:[^\n]*(^| )" release "(-[a-z]+)?( |\n|$)" && $0 ~ "(^|\n)Types:[^\n]*deb" {
                 sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' "$file"
    done)
    lines=$(grep -hsE "^deb [^#]* $codename(-[a-z]+)? " /etc/apt/sources.list /etc/apt/sources.list.d/*.list |
        sed 's/^deb /deb-src /' || true)
    if [ -n "$stanzas" ]; then
        printf '%s\n' "$stanzas" | "${sudo[@]}" tee "$list" >/dev/null
    fi
    if [ -n "$lines" ]; then
        printf '%s\n' "$lines" | "${sudo[@]}" tee /etc/apt/sources.list.d/korvane-deb-src.list >/dev/null
    fi
    added_src=yes
fi

[ ${#missing[@]} -eq 0 ] && [ "$added_src" = no ] && exit 0
"${sudo[@]}" apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
