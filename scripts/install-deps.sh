#!/usr/bin/env bash
# Installs the Debian 12 packages Korvane needs to build, test, package (dpkg-dev, file) and run, when
# any is missing.
set -euo pipefail

packages=(
    g++ cmake make clang-format git
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev
    libbenchmark-dev
    openarena-server
    fonts-dejavu-core fonts-liberation
    desktop-file-utils appstream strace
    dpkg-dev file
    libreadline-dev
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
