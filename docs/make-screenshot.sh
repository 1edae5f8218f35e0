#!/usr/bin/env bash
# Renders the screenshots in docs/ on virtual X displays with a window manager (Xvfb and openbox),
# so that they show the window frames and the Noto CJK fonts people see: the main window, each
# dialog, the progress dialog and the end-of-run messages on a 1366x768 screen, and
# main-window-scale2.png at QT_SCALE_FACTOR=2 on a 2560x1440 screen. The PNGs are reduced with
# pngquant. The window's language follows the environment as the program's does: with
# LANG=en_US.UTF-8 the English window is shot into docs/*-en.png. Needs xvfb, openbox,
# fonts-noto-cjk and pngquant.
# Usage: docs/make-screenshot.sh [build folder, default build] [JPEG with Exif data for the Exif dialog,
#        default a camera file of tests/data]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
EXIF_SAMPLE=${2:-tests/data/camera/ii-app1-interop-thumb-long-minolta.jpg}
cmake -S . -B "$BUILD" -DPELIMON_BUILD_GUI=ON >/dev/null
cmake --build "$BUILD" --target pelimon_screenshot pelimon -j 2

# shoot <display number> <screen> <extra environment...> -- <arguments>
shoot() {
    local display=$1 screen=$2
    shift 2
    Xvfb ":$display" -screen 0 "$screen" -nolisten tcp &
    local xvfb=$!
    sleep 1
    DISPLAY=":$display" openbox &
    local wm=$!
    sleep 1
    env DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$@" || status=$?
    kill "$wm" "$xvfb"
    wait "$wm" "$xvfb" 2>/dev/null || true
    return "${status:-0}"
}

# Only the pictures of this run are reduced: an earlier run's (the other language's) stay as they are.
stamp=$(mktemp)
trap 'rm -f "$stamp"' EXIT
shoot 91 1366x768x24 "$BUILD/gui/pelimon_screenshot" docs "$EXIF_SAMPLE"
shoot 92 2560x1440x24 QT_SCALE_FACTOR=2 "$BUILD/gui/pelimon_screenshot" docs "$EXIF_SAMPLE" main
find docs -maxdepth 1 -name '*.png' -newer "$stamp" | while read -r png; do
    pngquant --force --skip-if-larger --ext .png 256 "$png" || true
done
