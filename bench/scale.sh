#!/usr/bin/env bash
# Scale: a tree of many small JPEGs (by default 1,000 folders of 100 images of 320x240) reduced to
# 160x120 in one run, against a flat folder of 1,000 of the same images; then --update over the
# unchanged tree, and after touching 100 sources. Prints a Markdown table (see bench/RESULTS.md).
#
#   bench/scale.sh
#
# env: PELIMON (<repo>/build/app/pelimon)  WORK (/tmp/pelimon-scale; about 1.5 GB)
#      FOLDERS (1000)  PER_FOLDER (100)  KEEP=1 keeps the generated tree for the window check
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
PELIMON=${PELIMON:-$HERE/../build/app/pelimon}
W=${WORK:-/tmp/pelimon-scale}
FOLDERS=${FOLDERS:-1000} PER_FOLDER=${PER_FOLDER:-100}
export QT_QPA_PLATFORM=offscreen LANGUAGE=en
unset DISPLAY WAYLAND_DISPLAY
command -v /usr/bin/time >/dev/null || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 1; }

rm -rf "$W"
mkdir -p "$W/base" "$W/flat" "$W/tree"
# A few encoded 320x240 images (the sample photographs, squeezed to exactly that size) ...
cat >"$W/base.ini" <<'INI'
[ImageSize]
Base=4
Width=320
Height=240
Method=1
Aspect=0
[Option]
FileType=4
JpegComp=85
BigSize=1
NameRule=1
AddText=
INI
"$PELIMON" --settings="$W/base.ini" -o "$W/base" "$HERE"/../res/samples/*.jpg 2>/dev/null
# ... copied with varied bytes: a JPEG comment segment right after SOI that names the copy, so that
# no two files are equal and each is still a valid JPEG that decodes like its base.
python3 - "$W" "$FOLDERS" "$PER_FOLDER" <<'PY'
import os, sys, glob
work, folders, per_folder = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
bases = [open(p, "rb").read() for p in sorted(glob.glob(os.path.join(work, "base", "*.jpg")))]
def copy(path, n):
    text = b"copy %d" % n
    data = bases[n % len(bases)]
    with open(path, "wb") as f:
        f.write(data[:2] + b"\xff\xfe" + (len(text) + 2).to_bytes(2, "big") + text + data[2:])
n = 0
for i in range(folders):
    folder = os.path.join(work, "tree", "%04d" % i)
    os.mkdir(folder)
    for j in range(per_folder):
        copy(os.path.join(folder, "p%03d.jpg" % j), n)
        n += 1
for j in range(1000):
    copy(os.path.join(work, "flat", "p%04d.jpg" % j), j)
PY
total=$((FOLDERS * PER_FOLDER))

# run LABEL ARGS...: wall seconds and peak RSS (kB) of one pelimon run, into $secs and $rss.
run() {
    local label=$1
    shift
    /usr/bin/time -f '%e %M' -o "$W/$label.time" "$PELIMON" -s 160x120 "$@" 2>"$W/$label.err" || true
    read -r secs rss <"$W/$label.time"
}
written() { grep -c $'\t' "$W/$1.err" || true; }

run flat -o "$W/out-flat" "$W/flat"
flat_secs=$secs flat_rss=$rss
run tree -r --update -o "$W/out-tree" "$W/tree"
tree_secs=$secs tree_rss=$rss
tree_files=$(find "$W/out-tree" -name '*.jpg' | wc -l)
run unchanged -r --update --verbose -o "$W/out-tree" "$W/tree"
unchanged_secs=$secs unchanged_written=$(written unchanged)
find "$W/tree" -name '*.jpg' | sort | awk -v step=$(((total + 99) / 100)) 'NR % step == 1' | head -100 | xargs touch
run touched -r --update --verbose -o "$W/out-tree" "$W/tree"
touched_secs=$secs touched_written=$(written touched)

per() { awk -v s="$1" -v n="$2" 'BEGIN {printf "%.2f", 1000 * s / n}'; }
echo "| measure | value |"
echo "|---|---|"
echo "| flat folder, 1,000 images: time | ${flat_secs} s ($(per "$flat_secs" 1000) ms/image), peak RSS $((flat_rss / 1024)) MB |"
echo "| tree, $total images in $FOLDERS folders: time | ${tree_secs} s ($(per "$tree_secs" "$total") ms/image), $tree_files outputs |"
echo "| tree: peak RSS | $((tree_rss / 1024)) MB |"
echo "| time per image, tree / flat | $(awk -v a="$tree_secs" -v b="$flat_secs" -v n="$total" 'BEGIN {printf "%.2f", (a / n) / (b / 1000)}') |"
echo "| --update over the unchanged tree | ${unchanged_secs} s, $unchanged_written written |"
echo "| --update after touching 100 sources | ${touched_secs} s, $touched_written written |"
[ -n "${KEEP:-}" ] || rm -rf "$W"
