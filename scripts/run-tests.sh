#!/usr/bin/env bash
# Installs what is missing, builds pelimon with its tests, and runs them all (ctest).
# The dialog tests run headless on Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD=${BUILD_DIR:-build}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release
cmake --build "$BUILD" -j "$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$BUILD" --output-on-failure -j "$(nproc)"
