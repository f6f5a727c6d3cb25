#!/usr/bin/env bash
# Installs the Debian packages Velmora builds, runs and tests with. Only what is
# missing is installed; nothing is asked.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev libqt6opengl6-dev libxkbcommon-dev
    libxslt1-dev libcups2-dev
    cups cups-client cups-filters poppler-utils printer-driver-cups-pdf
    googletest libgtest-dev libbenchmark-dev
    qt6-translations-l10n
    xvfb xauth fonts-dejavu-core
    exfatprogs exfat-fuse
    samba smbnetfs
    xdotool x11-utils appstream desktop-file-utils
    dpkg-dev file fakeroot lintian
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
