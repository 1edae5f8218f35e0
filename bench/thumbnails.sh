#!/usr/bin/env bash
# The file list's thumbnails in the real window, on a virtual X display with a window manager
# (Xvfb and openbox): 1,000 photos (the corpus's 40 JPEGs copied 25 times into one folder), opened
# once with an empty thumbnail cache and once more with the cache it left. pelimon_thumbnail_bench
# reports for each opening when the first screen of rows had its thumbnails, when every row had
# one, the longest time the event loop could not turn while they filled, and the peak memory.
#
#   bench/thumbnails.sh            table view (the window's default)
#   bench/thumbnails.sh grid       the grid of thumbnails
#
# env: BUILD_DIR (<repo>/build)  CORPUS (~/.cache/pelimon-bench/corpus)  WORK (/tmp/pelimon-thumbnails)
#      COPIES (25)  RUNS (1): openings of each kind, the cold one with a fresh cache each time
# Needs xvfb and openbox. The machine's load shows in every figure but the memory: run it quiet.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
REPO=$(cd "$HERE/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$REPO/build}
C=${CORPUS:-${XDG_CACHE_HOME:-$HOME/.cache}/pelimon-bench/corpus}
W=${WORK:-/tmp/pelimon-thumbnails}
COPIES=${COPIES:-25} RUNS=${RUNS:-1}
VIEW=${1:-table}

[ -d "$C/jpg" ] || bash "$REPO/../shared/bench/make-corpus.sh" "$C"
cmake --build "$BUILD_DIR" --target pelimon_thumbnail_bench -j 2 >/dev/null
BENCH=$BUILD_DIR/gui/pelimon_thumbnail_bench

photos=$W/photos
want=$(($(ls "$C"/jpg/*.jpg | wc -l) * COPIES))
if [ "$(ls "$photos" 2>/dev/null | wc -l)" != "$want" ]; then
    rm -rf "$photos" && mkdir -p "$photos"
    for i in $(seq -w 1 "$COPIES"); do
        for f in "$C"/jpg/*.jpg; do cp "$f" "$photos/c$i-$(basename "$f")"; done
    done
fi

# A display number nobody uses, chosen by the server itself.
mkdir -p "$W"
rm -f "$W/display"
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$W/display" &
xvfb=$!
while [ ! -s "$W/display" ]; do sleep 0.2; done
display=:$(cat "$W/display")
DISPLAY=$display openbox &
wm=$!
trap 'kill $wm $xvfb 2>/dev/null; wait $wm $xvfb 2>/dev/null || true' EXIT
sleep 1

arg=
[ "$VIEW" = grid ] && arg=grid
echo "| opening | view | first screen (ms) | all (ms) | longest event-loop gap (ms) | peak RSS (MB) | CPU (s) | rows |"
echo "|---|---|---:|---:|---:|---:|---:|---:|"
# open <label>: one opening of the folder, timed, with the CPU time of the whole process.
open() {
    local line cpu
    line=$(DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_CACHE_HOME=$W/cache \
        /usr/bin/time -f 'cpu=%U+%S' -o "$W/time" "$BENCH" "$photos" $arg 2>/dev/null | tail -1)
    cpu=$(sed -n 's/cpu=//p' "$W/time" | bc)
    get() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" <<<"$line"; }
    echo "| $1 | $VIEW | $(get first_screen_ms) | $(get all_ms) | $(get longest_gap_ms) | $(get peak_rss_mb) | $cpu | $(get rows) |"
}
for run in $(seq 1 "$RUNS"); do
    rm -rf "$W/cache"
    open "first (empty cache)"
    open "second (from the cache)"
done
