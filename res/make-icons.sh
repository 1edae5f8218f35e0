#!/usr/bin/env bash
# Renders the PNG icons compiled into the program from the SVG drawings beside this script.
# Needs ImageMagick's convert (or set CONVERT). Rerun after editing an SVG and commit the PNGs.
set -euo pipefail
cd "$(dirname "$0")"
CONVERT=${CONVERT:-convert}
render() {  # svg, base size in px, output name stem
    local svg=$1 size=$2 stem=$3
    for scale in 1 2; do
        local px=$((size * scale))
        "$CONVERT" -background none -density $((96 * px / size)) "$svg" -resize "${px}x${px}" -depth 8 \
            "PNG32:icons/${stem}_${px}.png"
    done
}
mkdir -p icons
# The SVG sizes are 64 (program), 16 (folder, reset) and 32 (question); -density scales them up.
render pelimon.svg 64 pelimon
render folder.svg 16 folder
render reset.svg 16 reset
render question.svg 32 question
