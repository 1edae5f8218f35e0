#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and packaging pelimon need (dpkg-dev and
# file: the Depends of `cpack -G DEB`; appstream: checking the AppStream file; desktop-file-utils:
# checking the desktop files; python3: the test of the Nautilus extension; gettext: compiling and
# updating the message catalogues; parallel: the test that splits a tree among processes). Run as
# root (or with sudo).
set -euo pipefail
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
PACKAGES=(
    build-essential cmake pkg-config git gettext
    qt6-base-dev libgl-dev qt6-translations-l10n qt6-l10n-tools qt6-tools-dev qt6-tools-dev-tools
    libjpeg62-turbo-dev libpng-dev libgif-dev libimagequant-dev
    libheif-dev libwebp-dev liblcms2-dev libtiff-dev libraw-dev libjxl-dev
    libde265-0 libdav1d6 libaom3
    googletest libgtest-dev libgmock-dev
    clang libclang-rt-14-dev llvm
    clang-format
# file: the Depends of `cpack -G DEB`; appstream: checking the AppStream file; desktop-file-utils:
# checking the desktop files; python3: the test of the Nautilus extension; gettext: compiling and
# updating the message catalogues; parallel: the test that splits a tree among processes). Run as
# root (or with sudo).
    fonts-noto-cjk
)
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f '${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    $SUDO apt-get update
    $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
