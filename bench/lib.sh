# Functions of bench/run.sh (sourced; uses its variables C O S T W PY PELIMON JPGS PNGS SIZE_SET
# HEICS P3S RAWS RAWNS JXLS P3JXLS).
# shellcheck shell=bash

need() { command -v "$1" >/dev/null || { echo "needs $1 (apt-get install $2)" >&2; exit 1; }; }

median() { sort -g | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

# The corpus is cached: rebuilt only when a file is missing or does not match its SHA256SUMS.
ensure_corpus() {
    if [ -s "$C/SHA256SUMS" ] && (cd "$C" && sha256sum --quiet -c SHA256SUMS >/dev/null 2>&1); then
        echo "corpus: reusing $C" >&2
    else
        echo "corpus: building $C (takes about two minutes)" >&2
        "$SHARED/make-corpus.sh" "$C" >&2
    fi
    if cmp -s "$C/SHA256SUMS" "$SHARED/corpus.sha256"; then
        CORPUS_NOTE="identical to the reference checksums (corpus.sha256)"
    else
        CORPUS_NOTE="differs from the reference checksums (other codec library versions)"
    fi
}

# The huge set, made once from the corpus into $HUGE (about 1 GB, a minute or two): one photo
# enlarged by 6 to 24000x18000 and saved as baseline and as progressive JPEG (q90), and one PNG
# enlarged by 10 to 30000x20000. libvips streams both steps, so making them needs little memory.
ensure_huge() {
    if [ -s "$HUGE/base.jpg" ] && [ -s "$HUGE/prog.jpg" ] && [ -s "$HUGE/big.png" ]; then
        echo "huge set: reusing $HUGE" >&2
        return
    fi
    echo "huge set: building $HUGE" >&2
    mkdir -p "$HUGE"
    vips resize "$C/jpg/j01-seeding.jpg" "$HUGE/base.jpg[Q=90,strip]" 6 --kernel linear
    vips copy "$HUGE/base.jpg" "$HUGE/prog.jpg[Q=90,strip,interlace]"
    vips resize "$C/png/n01-seeding.png" "$HUGE/big.png" 10 --kernel linear
}

ensure_pelimon() {
    case ${PELIMON:-} in
        none) PELIMON="" ;;
        "")
            echo "pelimon: building in $BUILD_DIR" >&2
            cmake -S "$REPO" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DPELIMON_BUILD_GUI=OFF \
                -DPELIMON_BUILD_TESTS=OFF >"$W.build.log" 2>&1 &&
                cmake --build "$BUILD_DIR" --target pelimon -j "$(nproc)" >>"$W.build.log" 2>&1 ||
                { echo "pelimon build failed, see $W.build.log (PELIMON=none runs the peers only)" >&2; exit 1; }
            PELIMON=$(find "$BUILD_DIR" -name pelimon -type f -perm -u+x | head -n1)
            ;;
    esac
    [ -z "$PELIMON" ] || [ -x "$PELIMON" ] || { echo "no pelimon binary at '$PELIMON'" >&2; exit 1; }
}

# A parameter file finds its keys anywhere in a line, value included, and cuts values at "=" and "#".
check_job_paths() {
    local p
    for p in "$C" "$O"; do
        case ${p^^} in
            *=* | *'#'* | *IMAGETYPE* | *IMAGEPATH*) echo "path unusable in a parameter file: $p" >&2; exit 1 ;;
        esac
    done
}

# write_job NAME SOURCE-DIR FILE... : the parameter file $S/NAME.txt; extra key lines on stdin.
write_job() {
    local name=$1 src=$2
    shift 2
    {
        echo "IMAGEPATH=$src/"
        echo "OUTPUTPATH=$O/$name/"
        cat
        echo "LIST=<<"
        printf '%s\n' "${@##*/}"
        echo ">>"
    } >"$S/$name.txt"
}

write_pelimon_jobs() {
    local common="EXIF=0
NAMERULE=1
ADDTEXT="
    write_job pelimon-jpeg "$C/jpg" "${JPGS[@]}" <<<"FILETYPE=4
JPEGCOMP=90
$common"
    write_job pelimon-jpeg-fast "$C/jpg" "${JPGS[@]}" <<<"FILETYPE=4
JPEGCOMP=90
FASTJPEG=1
$common"
    write_job pelimon-png "$C/png" "${PNGS[@]}" <<<"FILETYPE=8
$common"
    write_job pelimon-fid "$C/jpg" "${JPGS[@]}" <<<"FILETYPE=8
$common"
    if [ -n "${HUGE_SET:-}" ]; then
        write_job pelimon-huge-base "$HUGE" "$HUGE/base.jpg" <<<"FILETYPE=4
JPEGCOMP=90
$common"
        write_job pelimon-huge-prog "$HUGE" "$HUGE/prog.jpg" <<<"FILETYPE=4
JPEGCOMP=90
$common"
        write_job pelimon-huge-png "$HUGE" "$HUGE/big.png" <<<"FILETYPE=8
$common"
    fi
    write_size_job pelimon-size "${LIMIT_QUALITY:-20}" 4
    write_size_job pelimon-size-lq1 1 4
    write_size_job pelimon-size-webp "${LIMIT_QUALITY:-20}" 64
    write_size_job pelimon-size-avif "${LIMIT_QUALITY:-20}" 128
    if [ ${#HEICS[@]} -gt 0 ]; then
        write_job pelimon-heic "$H" "${HEICS[@]}" <<<"FILETYPE=4
JPEGCOMP=90
$common"
    fi
    if [ ${#RAWS[@]} -gt 0 ]; then
        write_job pelimon-raw "$RAW" "${RAWS[@]}" <<<"FILETYPE=4
JPEGCOMP=90
$common"
        write_job pelimon-raw-nopreview "$RAWN" "${RAWNS[@]}" <<<"FILETYPE=4
JPEGCOMP=90
$common"
    fi
    write_job pelimon-webp "$C/jpg" "${JPGS[@]}" <<<"FILETYPE=64
JPEGCOMP=80
$common"
    if [ ${#TIFF8S[@]} -gt 0 ]; then
        local to_jpeg="FILETYPE=4
JPEGCOMP=90
$common"
        write_job pelimon-tiff8 "$TIFF8" "${TIFF8S[@]}" <<<"$to_jpeg"
        write_job pelimon-tiff16 "$TIFF16" "${TIFF16S[@]}" <<<"$to_jpeg"
    fi
    if [ ${#JXLS[@]} -gt 0 ]; then
        write_job pelimon-jxl "$X" "${JXLS[@]}" <<<"FILETYPE=4
JPEGCOMP=90
$common"
    fi
    write_preset_file
    write_job pelimon-jxl-out "$C/jpg" "${JPGS[@]}" <<<"FILETYPE=512
JPEGCOMP=80
$common"
    if [ ${#P3JXLS[@]} -gt 0 ]; then
        write_job pelimon-srgb-jxl "$XP3" "${P3JXLS[@]}" <<<"FILETYPE=8
TOSRGB=1
$common"
        write_job pelimon-p3-jxl "$XP3" "${P3JXLS[@]}" <<<"FILETYPE=8
TOSRGB=0
$common"
    fi
    if [ ${#P3S[@]} -gt 0 ]; then
        write_job pelimon-srgb "$P3" "${P3S[@]}" <<<"FILETYPE=8
TOSRGB=1
$common"
        write_job pelimon-p3 "$P3" "${P3S[@]}" <<<"FILETYPE=8
TOSRGB=0
$common"
    fi
}

# The settings file of the preset set: "large" fits in 1600x1600 at JPEG q85, "small" in 640x640
# at q80, both keeping the sources' names.
write_preset_file() {
    local name size quality
    : >"$S/presets.ini"
    for name in large:1600:85 small:640:80; do
        IFS=: read -r name size quality <<<"$name"
        printf '%s\n' "[Preset:$name]" Base=4 Method=1 Aspect=1 Rect=4 Width="$size" Height="$size" \
            FileType=4 JpegComp="$quality" NameRule=1 AddText= >>"$S/presets.ini"
    done
}

# encode_corpus DIR EXT COMMAND: encodes each corpus JPEG that DIR lacks as NAME.EXT, two at a
# time at low priority. COMMAND is a shell command reading "$in" and writing "$out" (a temporary
# name beside the final one, so that an interrupted encode is never taken for a finished one).
encode_corpus() {
    local dir=$1 ext=$2 f b n=0
    for f in "${JPGS[@]}"; do
        b=${f##*/}
        [ -s "$dir/${b%.jpg}.$ext" ] || n=$((n + 1))
    done
    [ "$n" -gt 0 ] || return 0
    echo "$ext corpus: encoding $n JPEGs into $dir" >&2
    printf '%s\n' "${JPGS[@]}" | nice -n 19 xargs -d '\n' -P2 -I{} sh -c \
        'in=$1 b=$(basename "$1" .jpg); [ -s "$2/$b.$3" ] && exit 0
         out=$2/$b.part.$3; eval "$4" >/dev/null 2>&1 && mv "$out" "$2/$b.$3"' sh {} "$dir" "$ext" "$3"
}

# The HEIC set: the corpus JPEGs encoded with heif-enc at its default quality (once, cached
# beside the corpus, two encodes at a time), plus the real phone files of the shared test data,
# which also make up the Display P3 set of the sRGB check.
ensure_heic_corpus() {
    local f
    mkdir -p "$H" "$P3"
    encode_corpus "$H" heic 'heif-enc -o "$out" "$in"'
    for f in "$TESTDATA"/modern/iphone8-gps-p3.heic "$TESTDATA"/modern/iphone11pro-p3.heic \
        "$TESTDATA"/modern/galaxy-s24fe-rot90.heic "$TESTDATA"/modern/nokia-noexif-1440x960.heic; do
        [ -f "$f" ] || continue
        cmp -s "$f" "$H/${f##*/}" || cp "$f" "$H/"
        case $f in *p3*) cmp -s "$f" "$P3/${f##*/}" || cp "$f" "$P3/" ;; esac
    done
}

# The TIFF set: every corpus JPEG as an 8-bit RGB LZW TIFF and as a 16-bit RGB Deflate TIFF
# (strips, as vips writes them), made once with vips beside the corpus, two at a time.
ensure_tiff_corpus() {
    local f base n=0
    mkdir -p "$TIFF8" "$TIFF16"
    for f in "${JPGS[@]}"; do
        base=${f##*/}
        [ -s "$TIFF8/${base%.jpg}.tif" ] && [ -s "$TIFF16/${base%.jpg}.tif" ] || n=$((n + 1))
    done
    if [ "$n" -gt 0 ]; then
        echo "tiff corpus: writing $n JPEGs as TIFFs into $TIFF8 and $TIFF16" >&2
        printf '%s\n' "${JPGS[@]}" | nice -n 19 xargs -d '\n' -P2 -I{} sh -c \
            'b=$(basename "$1" .jpg)
             [ -s "$2/$b.tif" ] || { vips tiffsave "$1" "$2/$b.part.tif" --compression lzw &&
                 mv "$2/$b.part.tif" "$2/$b.tif"; } || exit 1
             [ -s "$3/$b.tif" ] || { vips colourspace "$1" "$3/$b.part.tif[compression=deflate]" rgb16 &&
                 mv "$3/$b.part.tif" "$3/$b.tif"; }' sh {} "$TIFF8" "$TIFF16"
    fi
}

# The CMYK TIFF of the sRGB check: four corpus photos reduced to 1200x900 and separated into CMYK
# through Ghostscript's default CMYK profile (package libgs-common), which the file carries.
ensure_cmyk_corpus() {
    [ -s "$CMYK_ICC" ] || return 0
    mkdir -p "$CMYK"
    "$PY" - "$CMYK_ICC" "$CMYK" "${JPGS[@]:0:4}" <<'PYEOF'
import os
import sys
from PIL import Image, ImageCms
icc_path, out = sys.argv[1], sys.argv[2]
icc = open(icc_path, "rb").read()
to_cmyk = ImageCms.buildTransform(ImageCms.createProfile("sRGB"), ImageCms.ImageCmsProfile(icc_path), "RGB", "CMYK",
                                  renderingIntent=ImageCms.Intent.PERCEPTUAL)
for path in sys.argv[3:]:
    target = os.path.join(out, os.path.basename(path)[:-4] + ".tif")
    if not os.path.exists(target):
        photo = Image.open(path).convert("RGB").resize((1200, 900), Image.BOX)
        ImageCms.applyTransform(photo, to_cmyk).save(target, compression="tiff_lzw", icc_profile=icc)
PYEOF
}

# The RAW set: camera-style DNGs made once from the corpus JPEGs by make_raw_set.py (about 1 GB
# each folder, a few minutes), with the photograph as a full-size preview in $RAW and without any
# preview in $RAWN.
ensure_raw_corpus() {
    local f base n=0
    for f in "${JPGS[@]}"; do
        base=${f##*/}
        [ -s "$RAW/${base%.jpg}.dng" ] && [ -s "$RAWN/${base%.jpg}.dng" ] || n=$((n + 1))
    done
    if [ "$n" -gt 0 ]; then
        echo "raw set: writing $n DNGs into $RAW and $RAWN" >&2
        nice -n 19 "$PY" "$HERE/make_raw_set.py" "$RAW" "$RAWN" "${JPGS[@]}"
    fi
}

# The JPEG XL set: the corpus JPEGs encoded from their pixels with cjxl at quality 90 and its
# default effort (once, cached beside the corpus, two encodes at a time; about ten seconds per
# photo), and for the sRGB check the Display P3 phone photos of the shared test data through
# heif-convert (a PNG with the P3 profile) and cjxl, which codes their colours as P3.
ensure_jxl_corpus() {
    local f b
    mkdir -p "$X" "$XP3"
    encode_corpus "$X" jxl 'cjxl -q 90 --lossless_jpeg=0 --num_threads=1 "$in" "$out"'
    for f in "$TESTDATA"/modern/iphone8-gps-p3.heic "$TESTDATA"/modern/iphone11pro-p3.heic; do
        b=${f##*/}
        b=${b%.heic}
        [ -f "$f" ] && [ ! -s "$XP3/$b.jxl" ] || continue
        heif-convert "$f" "$W/$b.png" >/dev/null && cjxl -q 90 "$W/$b.png" "$XP3/$b.jxl" >/dev/null 2>&1
        rm -f "$W/$b.png"
    done
}

# write_fit_sizes WIDTH HEIGHT OUT FILE...: cwebp resizes to a given width and height, so each
# JPEG's fit into WIDTH x HEIGHT is read from its header beforehand, one "w h path" line per file.
write_fit_sizes() {
    "$PY" - "$@" <<'PYEOF'
import sys
from PIL import Image
box_w, box_h, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
with open(out, "w") as sizes:
    for path in sys.argv[4:]:
        w, h = Image.open(path).size
        s = min(box_w / w, box_h / h)
        print(max(1, round(w * s)), max(1, round(h * s)), path, file=sizes)
PYEOF
}

write_cwebp_sizes() {
    write_fit_sizes 640 480 "$S/cwebp.sizes" "${JPGS[@]}"
    write_fit_sizes 1600 1200 "$S/cwebp-size.sizes" "${SIZE_SET[@]}"
}

# write_size_job NAME LOWEST-QUALITY FILETYPE: fit in 1600x1200 at 50 KB, written as FILETYPE
# (4 JPEG, 64 WebP, 128 AVIF). Base has no parameter key, so the size rule is also in the job's
# settings file. NAME-floor is the same job at the fixed lowest quality: the files it writes over
# 50 KB are those the search cannot bring under the target (it then keeps the lowest quality).
write_size_job() {
    local set_size job
    for set_size in 1 0; do
        job=$1
        [ "$set_size" = 1 ] || job=$1-floor
        write_job "$job" "$C/jpg" "${SIZE_SET[@]}" <<<"FILETYPE=$3
METHOD=1
ASPECT=1
RECT=4
WIDTH=1600
HEIGHT=1200
SETSIZE=$set_size
DATASIZE=50
LIMITQUALITY=$2
JPEGCOMP=$2
EXIF=0
NAMERULE=1
ADDTEXT="
    done
    printf '%s\n' "[ImageSize]" Base=4 Method=1 Aspect=1 Rect=4 Width=1600 Height=1200 \
        SetSize=1 DataSize=50 LimitQuality="$2" >"$S/$1.ini.start"
    printf '%s\n' "[ImageSize]" Base=4 Method=1 Aspect=1 Rect=4 Width=1600 Height=1200 \
        SetSize=0 DataSize=50 LimitQuality="$2" >"$S/$1-floor.ini.start"
}

nfiles() {
    case $1 in
        floor-par2 | floor4-par2) echo 0 ;;
        *huge*) echo 1 ;;
        pelimon-presets1-heic) echo ${#HEICS[@]} ;;
        pelimon-presets2-heic) echo $((2 * ${#HEICS[@]})) ;;
        pelimon-presets1) echo ${#JPGS[@]} ;;
        pelimon-presets2) echo $((2 * ${#JPGS[@]})) ;;
        *png*) echo ${#PNGS[@]} ;;
        *size*) echo ${#SIZE_SET[@]} ;;
        *heic*) echo ${#HEICS[@]} ;;
        *tiff8*) echo ${#TIFF8S[@]} ;;
        *tiff16*) echo ${#TIFF16S[@]} ;;
        pelimon-cmyk) echo ${#CMYKS[@]} ;;
        *raw*) echo ${#RAWS[@]} ;;
        pelimon-srgb | pelimon-p3) echo ${#P3S[@]} ;;
        pelimon-srgb-jxl | pelimon-p3-jxl) echo ${#P3JXLS[@]} ;;
        pelimon-jxl | jxl-vips) echo ${#JXLS[@]} ;;
        *) echo ${#JPGS[@]} ;;
    esac
}

# tool_cmd NAME: sets CWD and CMD, the command of one run of tool NAME writing into $O/NAME/.
# The peers' commands are those of shared/bench/peers.sh, run directly so that no wrapper
# script is timed with them.
tool_cmd() {
    local d=$O/$1
    CWD=$C/jpg
    case $1 in
        # the same pixels as Pillow's: the CMYK sources at their own size, converted to sRGB (the
        # command line's default)
        pelimon-cmyk) CMD=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "$PELIMON" -p 100 -f png
            -o "$d" "${CMYKS[@]}") ;;
        # one preset, or two made from one decode of each source, each into its own subfolder
        pelimon-presets1 | pelimon-presets2 | pelimon-presets1-heic | pelimon-presets2-heic)
            local presets=(--preset large) sources=("${JPGS[@]}")
            [[ $1 != pelimon-presets2* ]] || presets+=(--preset small)
            [[ $1 != *-heic ]] || sources=("${HEICS[@]}")
            CMD=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "$PELIMON" --settings "$S/presets.ini"
                "${presets[@]}" -o "$d" "${sources[@]}") ;;
        pelimon-*) CMD=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen
            PELIMON_INI="$S/$1.ini" "$PELIMON" /F "$S/$1.txt") ;;
        vips) CMD=(vipsthumbnail --size 640x480 -o "$d/%s.jpg[Q=90]" "${JPGS[@]}") ;;
        im) CMD=(mogrify -path "$d" -resize 640x480 -quality 90 "${JPGS[@]}") ;;
        im-hint) CMD=(mogrify -path "$d" -define jpeg:size=1280x960 -resize 640x480 -quality 90 "${JPGS[@]}") ;;
        # gm appends the input path to -output-directory: give it bare names
        gm-hint) CMD=(gm mogrify -output-directory "$d" -size 1280x960 -resize 640x480 -quality 90
            "${JPGS[@]##*/}") ;;
        pil-draft) CMD=("$PY" "$SHARED/pil_reduce.py" draft "$d" 640x480 "${JPGS[@]}") ;;
        floor-par2) CMD=(xargs -a "$S/jpgs.list" -d '\n' -n1 -P2 djpeg -scale 1/8 -outfile /dev/null) ;;
        # the least decode that keeps a 640x480 output's quality (1000x750 from 4000x3000)
        floor4-par2) CMD=(xargs -a "$S/jpgs.list" -d '\n' -n1 -P2 djpeg -scale 1/4 -outfile /dev/null) ;;
        vips-fid) CMD=(vipsthumbnail --size 640x480 -o "$d/%s.png" "${JPGS[@]}") ;;
        png-vips) CMD=(vipsthumbnail --size 640x480 -o "$d/%s.png" "${PNGS[@]}") ;;
        png-im) CMD=(mogrify -path "$d" -format png -resize 640x480 "${PNGS[@]}") ;;
        png-pil) CMD=("$PY" "$SHARED/pil_reduce.py" png "$d" 640x480 "${PNGS[@]}") ;;
        huge-vips-base | huge-vips-prog) CMD=(vipsthumbnail --size 640x480 -o "$d/%s.jpg[Q=90]" "$HUGE/${1#huge-vips-}.jpg") ;;
        huge-im-base | huge-im-prog) CMD=(mogrify -path "$d" -define jpeg:size=1280x960 -resize 640x480 -quality 90
            "$HUGE/${1#huge-im-}.jpg") ;;
        huge-vips-png) CMD=(vipsthumbnail --size 640x480 -o "$d/%s.png" "$HUGE/big.png") ;;
        huge-im-png) CMD=(mogrify -path "$d" -format png -resize 640x480 "$HUGE/big.png") ;;
        size-im-kib) CMD=(mogrify -path "$d" -resize 1600x1200 -define jpeg:extent=50KiB "${SIZE_SET[@]}") ;;
        tiff8-vips) CMD=(vipsthumbnail --size 640x480 -o "$d/%s.jpg[Q=90]" "${TIFF8S[@]}") ;;
        tiff16-vips) CMD=(vipsthumbnail --size 640x480 -o "$d/%s.jpg[Q=90]" "${TIFF16S[@]}") ;;
        # libraw's own converter at half size piped into a JPEG encode, two files at a time as
        # pelimon renders two jobs at a time on two cores
        raw-dcraw) CMD=(xargs -a "$S/raws.list" -d '\n' -P2 -I{} sh -c \
            'dcraw_emu -h -Z - "$1" | cjpeg -quality 90 >"$2/$(basename "$1" .dng).jpg"' sh {} "$d") ;;
        heic-vips) CMD=(vipsthumbnail --size 640x480 -o "$d/%s.jpg[Q=90]" "${HEICS[@]}") ;;
        webp-vips) CMD=(vipsthumbnail --size 640x480 -o "$d/%s.webp[Q=80]" "${JPGS[@]}") ;;
        jxl-vips) CMD=(vipsthumbnail --size 640x480 -o "$d/%s.jpg[Q=90]" "${JXLS[@]}") ;;
        jxl-out-vips) CMD=(vipsthumbnail --size 640x480 -o "$d/%s.jxl[Q=80]" "${JPGS[@]}") ;;
        webp-cwebp) CMD=(sh -c 'while read -r w h f; do b=${f##*/}
            cwebp -quiet -q 80 -resize "$w" "$h" "$f" -o "$1/${b%.jpg}.webp" || exit 1; done <"$2"' sh "$d"
            "$S/cwebp.sizes") ;;
        # cwebp's own size search (-size, several analysis passes): no lowest quality
        size-cwebp) CMD=(sh -c 'while read -r w h f; do b=${f##*/}
            cwebp -quiet -size 51200 -resize "$w" "$h" "$f" -o "$1/${b%.jpg}.webp" || exit 1; done <"$2"' sh "$d"
            "$S/cwebp-size.sizes") ;;
        *) echo "unknown tool $1" >&2; exit 2 ;;
    esac
}

# Every run starts from an empty output folder and, for pelimon, a fresh settings file.
prepare() {
    rm -rf "${O:?}/$1" "$S/$1.ini"
    mkdir -p "$O/$1"
    [ ! -f "$S/$1.ini.start" ] || cp "$S/$1.ini.start" "$S/$1.ini"
    printf '%s\n' "${JPGS[@]}" >"$S/jpgs.list"
    printf '%s\n' "${RAWS[@]}" >"$S/raws.list"
}

# run_tool NAME MODE: one run under GNU time; "wall_s cpu_s rss_kb" goes to $T/NAME.all for a
# timed run and to $T/NAME.warm for a warm-up run.
run_tool() {
    local name=$1 log=$T/$1.log n got
    tool_cmd "$name"
    prepare "$name"
    (cd "$CWD" && nice -n "${NICE:-0}" /usr/bin/time -f '%e %U %S %M' -o "$T/$name.1" "${CMD[@]}") >"$log" 2>&1 ||
        { echo "$name failed, see $log" >&2; return 1; }
    awk '{print $1, $2 + $3, $4}' "$T/$name.1" >>"$T/$name.$2"
    n=$(nfiles "$name")
    got=$(find "$O/$name" -type f | wc -l)
    [ "$got" = "$n" ] || { echo "$name wrote $got files instead of $n, see $log" >&2; return 1; }
}

cpu_busy_s() { awk '/^cpu /{print ($2 + $3 + $4 + $7 + $8) / 100}' /proc/stat; }

# bench_set TITLE TOOL...: WARMUP + RUNS rounds, each running every tool once in turn (pelimon
# first), so that a change in the machine's load hits all tools alike. Prints the medians.
bench_set() {
    local title=$1 tool round mode tools=() busy0 t0 busy1 t1
    shift
    for tool in "$@"; do
        if [[ $tool == pelimon-* ]]; then
            [ -z "$PELIMON" ] || tools+=("$tool")
        elif [ -z "${PEERS:-}" ] || [[ " $PEERS " == *" $tool "* ]]; then
            tools+=("$tool")
        fi
    done
    echo "## $title"
    echo
    echo "uptime before: $(uptime)  "
    busy0=$(cpu_busy_s) t0=$(date +%s.%N)
    for ((round = 1; round <= WARMUP + RUNS; round++)); do
        mode=all
        ((round > WARMUP)) || mode=warm
        for tool in "${tools[@]}"; do
            if [ ! -f "$T/$tool.failed" ]; then
                run_tool "$tool" "$mode" || touch "$T/$tool.failed"
            fi
        done
        echo "  round $round of $((WARMUP + RUNS)) done" >&2
    done
    busy1=$(cpu_busy_s) t1=$(date +%s.%N)
    echo "uptime after: $(uptime)  "
    # what the machine did beyond our own runs: its busy time minus the CPU time of the runs
    for tool in "${tools[@]}"; do cat "$T/$tool".{all,warm} 2>/dev/null || true; done |
        awk -v b="$busy0" -v B="$busy1" -v t="$t0" -v T="$t1" '{o += $2} END {
            x = ((B - b) - o) / (T - t); if (x < 0) x = 0
            printf "CPU used by other processes during these runs: %.2f cores on average\n\n", x }'
    set_table "${tools[@]}"
    echo
}

# set_table TOOL...: medians of each tool's timed runs; ratios are the first pelimon row / that tool
# (a set's first pelimon row is its default job; later ones are variants such as --fast-jpeg).
set_table() {
    local tool ref="" n
    echo "| tool | files | wall s | ms/image | CPU s | peak RSS MB (median / max) | mean output KB | pelimon / tool: wall | CPU | RSS |"
    echo "|---|---|---|---|---|---|---|---|---|---|"
    for tool in "$@"; do
        [ -s "$T/$tool.all" ] && [ ! -f "$T/$tool.failed" ] || { echo "| $tool | failed | | | | | | | | |"; continue; }
        n=$(nfiles "$tool")
        [ "$n" != 0 ] || n=${#JPGS[@]}
        echo "$(awk '{print $1}' "$T/$tool.all" | median) $(awk '{print $2}' "$T/$tool.all" | median)" \
            "$(awk '{print $3}' "$T/$tool.all" | median) $(awk '{print $3}' "$T/$tool.all" | sort -n | tail -n1)" \
            >"$T/$tool.med"
        [[ $tool == pelimon-* && -z $ref ]] && ref=$T/$tool.med
        awk -v tool="$tool" -v n="$n" -v ref="$ref" -v out="$(out_kb "$tool")" '
            BEGIN { if (ref != "" && (getline line < ref) > 0) split(line, p, " ") }
            { r = (p[1] == "" || tool ~ /^pelimon-/) ? "| – | – | –" : \
                  sprintf("| %.2f | %.2f | %.2f", p[1] / $1, p[2] / $2, p[3] / $3)
              printf "| %s | %d | %.2f | %.1f | %.2f | %.1f / %.1f | %s %s |\n",
                  tool, n, $1, 1000 * $1 / n, $2, $3 / 1024, $4 / 1024, out, r }' "$T/$tool.med"
    done
}

out_kb() {
    find "$O/$1" -type f -printf '%s\n' 2>/dev/null |
        awk '{s += $1; n++} END {if (n) printf "%.1f", s / n / 1024; else print "–"}'
}
