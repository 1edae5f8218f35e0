#!/usr/bin/env bash
# Installs what is missing, builds pelimon (Release, into build/), and reduces the sample
# photographs of res/samples/ without opening a window, into out/samples/ of this checkout; then
# lists what it wrote. Your own pelimon settings are not touched: the run reads and saves its own
# settings file, out/samples.ini, and takes its job from out/samples-job.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
bash scripts/install-deps.sh
BUILD=${BUILD_DIR:-build}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release
cmake --build "$BUILD" -j "$(nproc)" --target pelimon

OUT="$ROOT/out/samples/"
INI="$ROOT/out/samples.ini"
JOB="$ROOT/out/samples-job.txt"
mkdir -p "$ROOT/out"
rm -f "$INI"  # start from the default settings every time

cat >"$JOB" <<JOB
# The samples reduced to fit 640 x 480 (the default size), as JPEG quality 85,
# named <photo>_s.jpg in out/samples/.
IMAGEPATH=$ROOT/res/samples/
OUTPUTPATH=$OUT
NAMERULE=1
ADDTEXT=_s
JPEGCOMP=85
LIST=<<
$(cd "$ROOT/res/samples" && ls -1 -- *.jpg)
>>
JOB

echo "== pelimon /F $JOB"
status=0
PELIMON_INI="$INI" QT_QPA_PLATFORM=offscreen "$BUILD/app/pelimon" /F "$JOB" || status=$?

echo "== $OUT"
ls -l "$OUT" 2>/dev/null || echo "(nothing written)"
exit "$status"
