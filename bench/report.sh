# Report sections of bench/run.sh (sourced; uses its variables and bench/lib.sh).
# shellcheck shell=bash

machine_section() {
    local commit="–"
    [ -z "$PELIMON" ] || commit=$(git -C "$REPO" describe --always --dirty --abbrev=12 2>/dev/null || echo unknown)
    echo "# pelimon throughput and fidelity, $(date -u '+%Y-%m-%d %H:%M UTC')"
    echo
    echo "- machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')," \
        "$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo) RAM, Linux $(uname -r)"
    echo "- pelimon: ${PELIMON:-not run} (commit $commit," \
        "libjpeg-turbo $(dpkg-query -W -f '${Version}' libjpeg62-turbo 2>/dev/null || echo '?'))"
    echo "- peers: vips $(vipsthumbnail --vips-version | awk '{print $2}')," \
        "ImageMagick $(convert -version | awk 'NR == 1 {print $3}')," \
        "GraphicsMagick $(gm version | awk 'NR == 1 {print $2}')," \
        "Pillow $("$PY" -c 'import PIL; print(PIL.__version__)')," \
        "$(djpeg -version 2>&1 | head -n1)"
    echo "- corpus: $C, $CORPUS_NOTE"
    echo "- $RUNS timed runs per tool after $WARMUP warm-up round(s), tools alternating run by run;" \
        "medians of whole-process figures from GNU time (wall %e, CPU %U+%S, peak RSS %M of the largest process)"
    echo "- load at start: $(uptime)${NICE:+; this run in a session of its own at niceness $NICE}"
    echo
}

# size_section EXT TOOL...: achieved file sizes of target-size jobs whose outputs are *.EXT, against
# 50 KB = 51,200 bytes, per tool and per file; the quality is read back from JPEG outputs only.
# pelimon's NAME-floor job (untimed) shows which files exceed the target even at the lowest
# quality: "over" and "under 90 %" count the other files, where a quality at or above the lowest
# fits and the output must be within the target and at least 90 % of it.
size_section() {
    local ext=$1 tool f s q floor
    shift
    echo "### Achieved sizes (target 51,200 bytes)"
    echo
    echo "| tool | files | lowest quality over 51,200 | others all ≤ 51,200 | over | under 90 % (46,080) | min | mean | max | mean distance to 51,200 | mean size / target | dimensions |"
    echo "|---|---|---|---|---|---|---|---|---|---|---|---|"
    for tool in "$@"; do
        [ -d "$O/$tool" ] && [ -n "$(ls -A "$O/$tool")" ] || continue
        [[ $tool != pelimon-* ]] || run_tool "$tool-floor" warm || true
        for f in "$O/$tool"/*."$ext"; do
            s=$(stat -c %s "$f")
            q=–
            [ "$ext" != jpg ] || q=$(identify -format '%Q' "$f")
            floor=$(stat -c %s "$O/$tool-floor/${f##*/}" 2>/dev/null || echo 0)
            echo "$s $(identify -format '%wx%h' "$f") q$q ${f##*/} $floor"
        done >"$T/$tool.sizes"
        awk -v tool="$tool" -v summary="$T/size.summary" '
            { d = $1 - 51200; s += $1; ad += (d < 0 ? -d : d); n++; dims[$2]++
              if ($5 > 51200) { floor++ } else { if (d > 0) over++; if ($1 < 46080) under++
                  if (fits == 0 || $1 < fmin) fmin = $1; if ($1 > fmax) fmax = $1; fits++ }
              if (n == 1 || $1 < mn) mn = $1; if ($1 > mx) mx = $1 }
            END { for (k in dims) ds = ds sprintf("%s%s ×%d", ds == "" ? "" : ", ", k, dims[k])
                  printf "| %s | %d | %d | %s | %d | %d | %d | %d | %d | %d | %.1f %% | %s |\n", tool, n, floor,
                      over ? "no" : "yes", over, under, mn, s / n, mx, ad / n, 100 * s / n / 51200, ds
                  printf "%s %d %d %d %d %d %d\n", tool, n, over, ad / n, fmax, fits ? fmin : 51200, floor >> summary }' \
            "$T/$tool.sizes"
    done
    echo
    local cols=() tools=()
    for tool in "$@"; do
        [ -s "$T/$tool.sizes" ] || continue
        awk '{q = substr($3, 2); printf "%s (%s%.1f %%%s)\n", $1, q == "–" ? "" : "q" q ", ", 100 * $1 / 51200,
                ($5 > 51200 ? ", lowest quality over" : "")}' "$T/$tool.sizes" >"$T/$tool.col"
        cols+=("$T/$tool.col") tools+=("$tool")
    done
    [ ${#tools[@]} -gt 0 ] || return 0
    echo "| image | $(printf '%s bytes (quality, size / target) | ' "${tools[@]}")"
    echo "|---|$(printf -- '---|%.0s' "${tools[@]}")"
    awk '{print $4}' "$T/${tools[0]}.sizes" | paste -d'|' - "${cols[@]}" | sed 's/|/ | /g; s/^/| /; s/$/ |/'
    echo
}

fidelity_section() {
    echo "## Fidelity: outputs against exact area averaging of the full decode"
    echo
    local args=()
    if [ -n "$PELIMON" ]; then
        if run_tool pelimon-fid warm; then
            args+=("pelimon PNG=$O/pelimon-fid")
        fi
        [ ! -d "$O/pelimon-jpeg" ] || args+=("pelimon JPEG q90=$O/pelimon-jpeg")
    fi
    if [ ${#args[@]} -gt 0 ]; then
        if run_tool vips-fid warm; then args+=("vipsthumbnail PNG=$O/vips-fid"); fi
        echo "The 40 corpus JPEGs reduced to 640x480; PNG is lossless, so it shows the resampling error"
        echo "alone. The targets apply to the five images of quality.py."
        echo
        "$PY" "$HERE/fidelity.py" "$SHARED" "$C" "$W" "${args[@]}"
        echo
    fi
    echo "Peers on the five images of shared/bench/quality.py:"
    echo
    echo '```'
    "$PY" "$SHARED/quality.py" "$C" "$W/quality" 5
    echo '```'
    echo
}

# The sRGB conversion's accuracy: the Display P3 phone files reduced to PNG with ToSRGB 1, against
# Pillow's ImageCms (lcms2) conversion of the same reduced pixels, which the ToSRGB 0 run writes
# unconverted with the source's profile.
srgb_section() {
    echo "## sRGB conversion: pelimon against Pillow ImageCms on the same reduced pixels"
    echo
    [ -n "$PELIMON" ] && [ ${#P3S[@]} -gt 0 ] || { echo "not run (needs pelimon and the phone files)"; echo; return; }
    run_tool pelimon-srgb warm && run_tool pelimon-p3 warm || { echo "pelimon failed"; echo; return; }
    "$PY" "$HERE/srgb_check.py" "$O/pelimon-p3" "$O/pelimon-srgb" | tee "$W/srgb.summary"
    echo
    if [ ${#P3JXLS[@]} -gt 0 ]; then
        echo "The same for the Display P3 photos as JPEG XL (cjxl -q 90):"
        echo
        run_tool pelimon-srgb-jxl warm && run_tool pelimon-p3-jxl warm || { echo "pelimon failed"; echo; return; }
        "$PY" "$HERE/srgb_check.py" "$O/pelimon-p3-jxl" "$O/pelimon-srgb-jxl" | tee "$W/srgb-jxl.summary"
        echo
    fi
    echo "### CMYK TIFF: pelimon's conversion through the file's profile against ImageCms on the same pixels"
    echo
    [ ${#CMYKS[@]} -gt 0 ] || { echo "not run (needs $CMYK_ICC, package libgs-common)"; echo; return; }
    run_tool pelimon-cmyk warm || { echo "pelimon failed"; echo; return; }
    "$PY" "$HERE/srgb_check.py" --cmyk "$CMYK" "$O/pelimon-cmyk" | tee "$W/srgb-cmyk.summary"
    echo
}

# check LABEL MEASURED OK: one row of the targets table.
check() { echo "| $1 | $2 | $([ "$3" = 1 ] && echo met || echo "**not met**") |"; }

ratio_check() {  # ratio_check LABEL PELIMON-TOOL PEER LIMIT
    local p=$T/$2.med q=$T/$3.med
    [ -s "$p" ] && [ -s "$q" ] || { echo "| $1 | not measured | – |"; return; }
    read -r pw _ <"$p"
    read -r qw _ <"$q"
    check "$1" "$pw s / $qw s = $(awk -v a="$pw" -v b="$qw" 'BEGIN {printf "%.2f", a / b}')" \
        "$(awk -v a="$pw" -v b="$qw" -v l="$4" 'BEGIN {print (a <= l * b) ? 1 : 0}')"
}

targets_section() {
    local rss_med rss_max n pmin pavg bad tool over dev mx
    echo "## Targets"
    echo
    echo "| target | measured | verdict |"
    echo "|---|---|---|"
    ratio_check "JPEG set: wall ≤ 0.6 × vipsthumbnail" pelimon-jpeg vips 0.6
    if [ -s "$T/pelimon-jpeg.med" ]; then
        read -r _ _ rss_med rss_max <"$T/pelimon-jpeg.med"
        check "JPEG set: peak RSS ≤ 80 MB" "$(awk -v m="$rss_max" -v d="$rss_med" \
            'BEGIN {printf "%.1f MB (median %.1f)", m / 1024, d / 1024}')" "$((rss_max <= 80 * 1024))"
    fi
    # the bound is set on quality.py's five images, where vipsthumbnail's PNG reaches 43.9 / 39.0 dB
    if [ -s "$W/fidelity.summary" ] && grep -q '^pelimon-PNG pick ' "$W/fidelity.summary"; then
        read -r _ _ n pmin pavg bad < <(grep '^pelimon-PNG pick ' "$W/fidelity.summary")
        check "Fidelity (PNG, quality.py's $n images): PSNR avg ≥ 43 dB, worst ≥ 39 dB" "avg $pavg dB, worst $pmin dB" \
            "$(awk -v a="$pavg" -v m="$pmin" -v b="$bad" 'BEGIN {print (a >= 43 && m >= 39 && b == 0) ? 1 : 0}')"
    fi
    ratio_check "PNG set: wall ≤ 0.7 × vipsthumbnail" pelimon-png png-vips 0.7
    ratio_check "TIFF set, 8-bit LZW: wall ≤ 0.6 × vipsthumbnail" pelimon-tiff8 tiff8-vips 0.6
    ratio_check "TIFF set, 16-bit Deflate: wall ≤ 0.6 × vipsthumbnail" pelimon-tiff16 tiff16-vips 0.6
    for tool in pelimon-size pelimon-size-lq1 pelimon-size-webp pelimon-size-avif; do
        if [ -s "$T/size.summary" ] && grep -q "^$tool " "$T/size.summary"; then
            read -r _ n over dev mx mn floor < <(grep "^$tool " "$T/size.summary")
            check "Target size ($tool): every output ≤ 51,200 bytes where the lowest quality fits" \
                "$over of $((n - floor)) over, largest $mx ($floor over at the lowest quality)" "$((over == 0))"
            # quality 100 is far above 50 KB for every file of the set, so none of them may fall short
            check "Target size ($tool): those outputs ≥ 90 % of it (46,080 bytes)" "smallest $mn" "$((mn >= 46080))"
            check "Target size ($tool): mean distance to 51,200 ≤ 2,500 bytes" "$dev bytes" "$((dev <= 2500))"
        fi
    done
    for tool in pelimon-huge-base pelimon-huge-prog pelimon-huge-png; do
        if [ -s "$T/$tool.med" ]; then
            read -r _ _ _ rss_max <"$T/$tool.med"
            check "Huge set ($tool): peak RSS ≤ 150 MB" "$(awk -v m="$rss_max" 'BEGIN {printf "%.1f MB", m / 1024}')" \
                "$((rss_max <= 150 * 1024))"
        fi
    done
    ratio_check "Huge set: progressive JPEG wall ≤ 0.3 × vipsthumbnail" pelimon-huge-prog huge-vips-prog 0.3
    ratio_check "Huge set: PNG wall ≤ 0.9 × vipsthumbnail" pelimon-huge-png huge-vips-png 0.9
    ratio_check "Target size (pelimon-size): wall ≤ 0.25 × ImageMagick jpeg:extent" pelimon-size size-im-kib 0.25
    ratio_check "Target size (pelimon-size-lq1): wall ≤ 0.25 × ImageMagick jpeg:extent" pelimon-size-lq1 size-im-kib 0.25
    ratio_check "HEIC set: wall ≤ 0.8 × vipsthumbnail" pelimon-heic heic-vips 0.8
    ratio_check "WebP set: wall ≤ 0.7 × vipsthumbnail" pelimon-webp webp-vips 0.7
    ratio_check "RAW set, from the preview: wall ≤ 0.3 × dcraw_emu -h + cjpeg" pelimon-raw raw-dcraw 0.3
    ratio_check "RAW set, preview ignored: wall ≤ 1.0 × dcraw_emu -h + cjpeg" pelimon-raw-nopreview raw-dcraw 1.0
    ratio_check "JPEG XL set: wall ≤ 0.8 × vipsthumbnail (the same libjxl)" pelimon-jxl jxl-vips 0.8
    ratio_check "JPEG XL output set: wall ≤ 1.0 × pelimon's WebP output" pelimon-jxl-out pelimon-webp 1.0
    ratio_check "Presets, JPEG set: two presets ≤ 1.3 × one" pelimon-presets2 pelimon-presets1 1.3
    ratio_check "Presets, HEIC set: two presets ≤ 1.3 × one" pelimon-presets2-heic pelimon-presets1-heic 1.3
    local summary mean maxd
    for summary in srgb srgb-jxl srgb-cmyk; do
        if [ -s "$W/$summary.summary" ]; then
            read -r mean maxd < <(awk '/^all /{print $2, $3}' "$W/$summary.summary")
            check "sRGB conversion vs Pillow ImageCms ($summary): mean ≤ 1, max ≤ 4 levels" "mean $mean, max $maxd" \
                "$(awk -v a="$mean" -v m="$maxd" 'BEGIN {print (a <= 1 && m <= 4) ? 1 : 0}')"
        fi
    done
    echo
}

# The rate-distortion set: bench/rd.py on the corpus JPEGs reduced to 1600x1200 and 640x480, its
# tables into the report and its plot beside it (bytes do not depend on the machine's load).
rd_section() {
    need cjpeg libjpeg-turbo-progs
    need butteraugli butteraugli
    /usr/bin/python3 -c 'import skimage, matplotlib' || { echo "needs python3-skimage python3-matplotlib" >&2; return 1; }
    echo "## Rate-distortion: pelimon's JPEG encoder against cjpeg -optimize"
    echo
    nice -n 19 /usr/bin/python3 "$HERE/rd.py" --pelimon "$PELIMON" --corpus "$C/jpg" --work "$W/rd" \
        --images "${RD_IMAGES:-0}" --markdown "$W/rd/rd.md" --plot "$W/rd.png" >/dev/null
    cat "$W/rd/rd.md"
    echo
    echo "Plot: \`$W/rd.png\`"
    echo
}
