#!/usr/bin/env bash
# Throughput and fidelity of pelimon against the tools people use today, on one corpus of
# real photographs, measured in one run. See bench/README.md.
#
#   bench/run.sh [SET...]      SET: jpeg png size size-webp size-avif fidelity heic webp jxl jxl-out
#                              tiff srgb raw presets huge rd
#                              (default: all but huge and rd)
#
# env: RUNS (5)  WARMUP (1)  timed runs per tool and untimed warm-up rounds
#      PELIMON   pelimon binary to use; unset: build one in BUILD_DIR; "none": peers only
#      BUILD_DIR (<repo>/build-bench)   CORPUS (~/.cache/pelimon-bench/corpus)
#      HUGE      folder of the huge set (~/.cache/pelimon-bench/huge), made from the corpus
#      JXL       folder of the JPEG XL set (~/.cache/pelimon-bench/jxl), made from the corpus
#      WORK      scratch folder (/tmp/pelimon-bench); outputs, logs, results.md
#      PEERS     space-separated subset of the peers to run (default: all of each set)
#      NICE      niceness of this run (unset; negative, as root, shields it from a busy machine)
#      RD_IMAGES (0: all) corpus JPEGs of the rate-distortion set (rd, not in the default run)
#      LIMIT_QUALITY (20) lowest quality of pelimon's target-size jobs; pelimon-size-lq1 runs the
#                JPEG job with 1, as ImageMagick has no lowest quality
set -euo pipefail

# With the kernel's autogroup scheduling a niceness only ranks processes within one session:
# a negative NICE needs a session of its own whose group gets that niceness.
if [ -n "${NICE:-}" ] && [ -z "${BENCH_SESSION:-}" ]; then
    exec setsid -w env BENCH_SESSION=1 "$0" "$@"
fi
if [ -n "${NICE:-}" ] && [ -w /proc/self/autogroup ]; then
    echo "$NICE" >/proc/self/autogroup
fi

HERE=$(cd "$(dirname "$0")" && pwd)
REPO=$(cd "$HERE/.." && pwd)
SHARED=${SHARED_BENCH:-$REPO/../shared/bench}
RUNS=${RUNS:-5} WARMUP=${WARMUP:-1}
CACHE=${XDG_CACHE_HOME:-$HOME/.cache}/pelimon-bench
C=${CORPUS:-$CACHE/corpus}
HUGE=${HUGE:-$CACHE/huge}
W=${WORK:-/tmp/pelimon-bench}
BUILD_DIR=${BUILD_DIR:-$REPO/build-bench}
SETS=${*:-jpeg png size size-webp size-avif fidelity heic webp jxl jxl-out tiff srgb raw presets}
TESTDATA=${TESTDATA:-$REPO/../shared/testdata}
H=$CACHE/heic P3=$CACHE/p3 TIFF8=$CACHE/tiff-lzw8 TIFF16=$CACHE/tiff-deflate16 CMYK=$CACHE/cmyk
X=${JXL:-$CACHE/jxl} XP3=$CACHE/jxl-p3
RAW=$CACHE/raw RAWN=$CACHE/raw-nopreview
CMYK_ICC=${CMYK_ICC:-/usr/share/color/icc/ghostscript/default_cmyk.icc}

# shellcheck source=bench/lib.sh
. "$HERE/lib.sh"
# shellcheck source=bench/report.sh
. "$HERE/report.sh"

need /usr/bin/time time
need vipsthumbnail libvips-tools
need mogrify imagemagick
need gm graphicsmagick
need djpeg libjpeg-turbo-progs
[[ " $SETS " != *" huge "* ]] || { need vips libvips-tools; HUGE_SET=1; }
PY=python3
"$PY" -c 'import PIL, numpy' 2>/dev/null || PY=/usr/bin/python3
"$PY" -c 'import PIL, numpy' || { echo "needs python3-pil python3-numpy" >&2; exit 1; }

ensure_corpus
[ -z "${HUGE_SET:-}" ] || ensure_huge
ensure_pelimon
mkdir -p "$W"
W=$(cd "$W" && pwd)
O=$W/out S=$W/settings T=$W/times
rm -rf "$O" "$S" "$T" "$W/fidelity.summary" "$W/srgb.summary" "$W/srgb-jxl.summary"
mkdir -p "$O" "$S" "$T"
check_job_paths

JPGS=("$C"/jpg/*.jpg)
PNGS=("$C"/png/*.png)
SIZE_SET=()
for ((i = 0; i < ${#JPGS[@]}; i += 4)); do SIZE_SET+=("${JPGS[i]}"); done
HEICS=() P3S=()
if [[ " $SETS " == *" heic "* || " $SETS " == *" srgb "* || " $SETS " == *" presets "* ]]; then
    need heif-enc libheif-examples
    ensure_heic_corpus
    HEICS=("$H"/*.heic)
    P3S=("$P3"/*.heic)
fi
TIFF8S=() TIFF16S=() CMYKS=()
if [[ " $SETS " == *" tiff "* ]]; then
    need vips libvips-tools
    ensure_tiff_corpus
    TIFF8S=("$TIFF8"/*.tif)
    TIFF16S=("$TIFF16"/*.tif)
fi
if [[ " $SETS " == *" srgb "* ]]; then
    ensure_cmyk_corpus
    [ ! -s "$CMYK_ICC" ] || CMYKS=("$CMYK"/*.tif)
fi
RAWS=() RAWNS=()
if [[ " $SETS " == *" raw "* ]]; then
    need dcraw_emu libraw-bin
    need cjpeg libjpeg-turbo-progs
    ensure_raw_corpus
    RAWS=("$RAW"/*.dng)
    RAWNS=("$RAWN"/*.dng)
fi
JXLS=() P3JXLS=()
if [[ " $SETS " == *" jxl "* || " $SETS " == *" srgb "* ]]; then
    need cjxl libjxl-tools
    need heif-convert libheif-examples
    ensure_jxl_corpus
    JXLS=("$X"/*.jxl)
    P3JXLS=("$XP3"/*.jxl)
fi
if [[ " $SETS " == *" webp "* || " $SETS " == *" size-webp "* ]]; then
    need cwebp webp
    write_cwebp_sizes
fi

[ -z "$PELIMON" ] || write_pelimon_jobs
REPORT=$W/results.md
{
    machine_section
    for set in $SETS; do
        case $set in
            jpeg)
                bench_set "JPEG set: ${#JPGS[@]} JPEGs 4000x3000 -> fit 640x480, JPEG q90" \
                    pelimon-jpeg pelimon-jpeg-fast vips pil-draft gm-hint im-hint im floor-par2 floor4-par2
                ;;
            rd)
                rd_section
                ;;
            png)
                bench_set "PNG set: ${#PNGS[@]} PNGs 3000x2000 -> fit 640x480, PNG" \
                    pelimon-png png-vips png-im png-pil
                ;;
            size)
                bench_set "Target size: ${#SIZE_SET[@]} JPEGs -> fit 1600x1200 at 50 KB (51,200 bytes)" \
                    pelimon-size pelimon-size-lq1 size-im-kib
                size_section jpg pelimon-size pelimon-size-lq1 size-im-kib
                ;;
            size-webp)
                bench_set "Target size in WebP: ${#SIZE_SET[@]} JPEGs -> fit 1600x1200 at 50 KB (51,200 bytes)" \
                    pelimon-size-webp size-cwebp
                size_section webp pelimon-size-webp size-cwebp
                ;;
            size-avif)
                bench_set "Target size in AVIF: ${#SIZE_SET[@]} JPEGs -> fit 1600x1200 at 50 KB (51,200 bytes)" \
                    pelimon-size-avif
                size_section avif pelimon-size-avif
                ;;
            fidelity) fidelity_section ;;
            heic)
                bench_set "HEIC set: ${#HEICS[@]} HEICs (40 corpus JPEGs through heif-enc, phone files) -> fit 640x480, JPEG q90" \
                    pelimon-heic heic-vips
                ;;
            webp)
                bench_set "WebP set: ${#JPGS[@]} JPEGs 4000x3000 -> fit 640x480, WebP q80" \
                    pelimon-webp webp-vips webp-cwebp
                ;;
            tiff)
                bench_set "TIFF set: ${#TIFF8S[@]} 8-bit LZW TIFFs 4000x3000 (the corpus through vips) -> fit 640x480, JPEG q90" \
                    pelimon-tiff8 tiff8-vips
                bench_set "TIFF set: ${#TIFF16S[@]} 16-bit Deflate TIFFs 4000x3000 -> fit 640x480, JPEG q90" \
                    pelimon-tiff16 tiff16-vips
                ;;
            jxl)
                bench_set "JPEG XL set: ${#JXLS[@]} JXLs (40 corpus JPEGs through cjxl -q 90) -> fit 640x480, JPEG q90" \
                    pelimon-jxl jxl-vips
                ;;
            jxl-out)
                bench_set "JPEG XL output set: ${#JPGS[@]} JPEGs 4000x3000 -> fit 640x480, JPEG XL q80" \
                    pelimon-jxl-out pelimon-webp jxl-out-vips
                ;;
            srgb) srgb_section ;;
            raw)
                bench_set "RAW set: ${#RAWS[@]} DNGs 4000x3000 (Bayer mosaic, full-size preview JPEG) -> fit 640x480, JPEG q90" \
                    pelimon-raw pelimon-raw-nopreview raw-dcraw
                ;;
            presets)
                bench_set "Presets, JPEG set: ${#JPGS[@]} JPEGs 4000x3000 -> preset large (fit 1600x1600, q85), and large + small (fit 640x640, q80) from one decode" \
                    pelimon-presets1 pelimon-presets2
                bench_set "Presets, HEIC set: ${#HEICS[@]} HEICs -> preset large, and large + small from one decode" \
                    pelimon-presets1-heic pelimon-presets2-heic
                ;;
            huge)
                bench_set "Huge set: 24000x18000 baseline JPEG -> fit 640x480, JPEG q90" \
                    pelimon-huge-base huge-vips-base huge-im-base
                bench_set "Huge set: the same, progressive JPEG -> fit 640x480, JPEG q90" \
                    pelimon-huge-prog huge-vips-prog huge-im-prog
                bench_set "Huge set: 30000x20000 PNG -> fit 640x480, PNG" pelimon-huge-png huge-vips-png huge-im-png
                ;;
            *) echo "unknown set $set (jpeg png size size-webp size-avif fidelity heic webp jxl jxl-out tiff srgb raw presets huge)" >&2; exit 2 ;;
        esac
    done
    targets_section
} | tee "$REPORT"
echo "report: $REPORT" >&2
