#!/usr/bin/env bash
# Runs the window on Wayland: starts weston with its headless backend (pixman renderer, a 1366x768
# output), opens the screenshot program's windows on it with Qt's Wayland plugin (qt6-wayland), and
# keeps what they drew (the program's own pictures of its windows: a Wayland client cannot read the
# screen) and, every half second while they are open, weston's picture of the whole output
# (weston-screenshooter, which weston allows with --debug). Needs weston and qt6-wayland.
# Usage: scripts/check-wayland.sh [build folder, default build] [output folder, default /tmp/pelimon-wayland]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
OUT=$(realpath -m "${2:-/tmp/pelimon-wayland}")
mkdir -p "$OUT/compositor"
cmake --build "$BUILD" --target pelimon_screenshot -j 2

XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
socket=wayland-pelimon
weston --backend=headless-backend.so --use-pixman --width=1366 --height=768 --socket="$socket" --debug \
    --no-config --log="$OUT/weston.log" &
weston=$!
trap 'kill "$weston" 2>/dev/null; wait "$weston" 2>/dev/null; rm -rf "$XDG_RUNTIME_DIR"' EXIT
for _ in $(seq 50); do
    [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
    sleep 0.1
done
export WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland
"$BUILD/gui/pelimon_screenshot" "$OUT" &
windows=$!
(cd "$OUT/compositor" && while kill -0 "$windows" 2>/dev/null; do
    weston-screenshooter >/dev/null 2>&1 || true
    sleep 0.5
done) &
shooter=$!
status=0
wait "$windows" || status=$?
wait "$shooter" || true
echo "pictures in $OUT, weston's in $OUT/compositor"
exit "$status"
