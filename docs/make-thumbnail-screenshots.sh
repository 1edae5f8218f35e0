#!/usr/bin/env bash
# Shoots docs/thumbnails*.png: the real program over a folder of photos on a virtual X display
# with a window manager (Xvfb and openbox), the screen taken with ImageMagick's `import -window
# root` and cut to the window's frame: the file list's rows with their thumbnails
# (docs/thumbnails.png), then its grid of thumbnails (docs/thumbnails-grid.png). The window's
# language follows the environment: with LANG=en_US.UTF-8 the pictures are named *-en.png.
# SCALE=2 shoots at QT_SCALE_FACTOR=2 on a 2732x1536 screen into *-scale2*.png.
# The PNGs are reduced with pngquant. Needs xvfb, openbox, imagemagick, xdotool, x11-utils and
# pngquant.
# Usage: docs/make-thumbnail-screenshots.sh <folder of photos> [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
PHOTOS=$1
BUILD=${2:-build}
SCALE=${SCALE:-1}
cmake --build "$BUILD" --target pelimon -j 2 >/dev/null

suffix=
case "${LANG:-}" in ja* | "" | C* | POSIX*) ;; *) suffix=-${LANG%%_*} ;; esac
[ "$SCALE" = 1 ] || suffix=-scale$SCALE$suffix
screen=1366x768x24
[ "$SCALE" = 1 ] || screen=2732x1536x24

scratch=$(mktemp -d)
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp &
xvfb=$!
while [ ! -s "$scratch/display" ]; do sleep 0.2; done
export DISPLAY=:$(cat "$scratch/display")
openbox &
wm=$!
app=
trap 'kill $app $wm $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$scratch"' EXIT
sleep 1

# shoot <ThumbnailGrid setting> <file>: starts the program over the photos, previews the first
# one, and takes the window with its frame.
shoot() {
    printf '[General]\nThumbnailGrid=%s\n' "$1" >"$scratch/pelimon.ini"
    env QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$SCALE" XDG_CACHE_HOME="$scratch/cache" \
        PELIMON_INI="$scratch/pelimon.ini" "$BUILD/app/pelimon" "$PHOTOS" &
    app=$!
    local window=
    for _ in $(seq 50); do
        window=$(xdotool search --onlyvisible --class pelimon 2>/dev/null | head -1) && [ -n "$window" ] && break
        sleep 0.2
    done
    # As large as people make it for a folder of photos; the first photo current.
    xdotool windowsize "$window" $((1180 * SCALE)) $((700 * SCALE))
    sleep 1
    xdotool mousemove --window "$window" $((260 * SCALE)) $((145 * SCALE)) click 1
    sleep 4  # the thumbnails fill in
    # The window manager's frame: the client's topmost ancestor below the root.
    local frame=$window parent root
    root=$(xwininfo -root | awk '/Window id/{print $4}')
    while parent=$(xwininfo -tree -id "$frame" | awk '/Parent window id/{print $4}') && [ "$parent" != "$root" ]; do
        frame=$parent
    done
    local geometry
    geometry=$(xwininfo -id "$frame" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
        /Width:/{w=$2} /Height:/{h=$2} END{print w "x" h "+" x "+" y}')
    import -window root -crop "$geometry" +repage "$2"
    pngquant --force --skip-if-larger --ext .png 256 "$2" || true
    echo "wrote $2"
    kill "$app"
    wait "$app" 2>/dev/null || true
}
shoot 0 "docs/thumbnails$suffix.png"
shoot 1 "docs/thumbnails-grid$suffix.png"
