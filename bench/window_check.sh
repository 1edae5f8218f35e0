#!/usr/bin/env bash
# The window with a big tree (bench/scale.sh with KEEP=1 leaves one in /tmp/pelimon-scale/tree) on a
# virtual display (Xvfb and openbox): how soon the first rows show, and whether the list takes the
# keyboard while the subfolders are still being listed. Prints the times (seconds from the start of
# the program) and writes check.png: the list at the first shot, after a click on the third row,
# and after three Down keys, each with the count line above it ("listing subfolders..." while the
# list fills).
#
#   bench/window_check.sh [TREE] [PELIMON]
#
# env: WORK (/tmp/pelimon-window)  DISPLAY_NUMBER (7)
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
TREE=${1:-/tmp/pelimon-scale/tree}
PELIMON=${2:-$HERE/../build/app/pelimon}
W=${WORK:-/tmp/pelimon-window}
N=${DISPLAY_NUMBER:-7}
for tool in Xvfb openbox xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "needs $tool (xvfb openbox xdotool imagemagick)" >&2; exit 1; }
done
rm -rf "$W"
mkdir -p "$W"
cat >"$W/pelimon.ini" <<INI
[General]
ImagePath=$TREE/
OutputPath=$W/out/
Recurse=1
INI
export DISPLAY=:$N
Xvfb "$DISPLAY" -screen 0 1366x768x24 -nolisten tcp 2>/dev/null &
xvfb=$!
sleep 1
openbox 2>/dev/null &
wm=$!
sleep 1
pids="$wm $xvfb"
trap 'kill $pids 2>/dev/null || true' EXIT

since() { echo "$(date +%s.%N) - $start" | bc; }
start=$(date +%s.%N)
QT_QPA_PLATFORM=xcb PELIMON_INI="$W/pelimon.ini" LANGUAGE=en "$PELIMON" 2>"$W/app.err" &
pids="$! $pids"
until xdotool search --onlyvisible --name "Pelimon" >/dev/null 2>&1; do sleep 0.02; done
echo "window mapped: $(since) s"
import -window root "$W/shot-1.png"
echo "first shot: $(since) s"
xdotool mousemove 400 270 click 1   # the list's third row in a 1366x768 screen
import -window root "$W/shot-2.png"
echo "after a click on the third row: $(since) s"
xdotool key Down Down Down
import -window root "$W/shot-3.png"
echo "after three Down keys: $(since) s"
for i in 1 2 3; do
    convert "$W/shot-$i.png" -crop 440x240+275+175 +repage "$W/crop-$i.png"
done
convert "$W/crop-1.png" "$W/crop-2.png" "$W/crop-3.png" +append "$W/check.png"
echo "pictures: $W/check.png (and shot-*.png)"
