#!/usr/bin/env bash
# Renders docs/main-window.png headless (Qt's offscreen platform). Needs fonts-noto-cjk for the
# Japanese texts. Usage: docs/make-screenshot.sh [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
cmake -S . -B "$BUILD" -DPELIMON_BUILD_GUI=ON >/dev/null
cmake --build "$BUILD" --target pelimon_screenshot -j 2
QT_QPA_PLATFORM=offscreen "$BUILD/gui/pelimon_screenshot" docs/main-window.png
echo "wrote docs/main-window.png"
