#!/usr/bin/env bash
# Splitting one tree among processes: GNU parallel with two jobs (names on standard input,
# NUL-separated) gives the outputs and the manifest of one run, and many processes writing into one
# output tree at once keep every output whole and every entry of the manifest.
# Usage: parallel_runs_test.sh PELIMON IMAGE...
set -euo pipefail
pelimon=$1
shift
command -v parallel >/dev/null || { echo "GNU parallel is not installed (scripts/install-deps.sh)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen LANGUAGE=en
unset DISPLAY WAYLAND_DISPLAY
cd "$work"
n=0
for image in "$@"; do
    for folder in a "b/c d" e/f/g; do
        n=$((n + 1))
        mkdir -p "src/$folder"
        cp "$image" "src/$folder/p$n.jpg"
    done
done
options=(--update -s 40x30 -q 80)
fail() { echo "FAIL: $*"; exit 1; }

"$pelimon" -r "${options[@]}" -o "$work/one" src 2>/dev/null
(cd src && find . -type f -print0) |
    parallel --pipe --null --recend '\0' -N 4 -j 2 "$pelimon" --files-from=- -0 "${options[@]}" -o "$work/two" "$work/src" 2>/dev/null
diff -r one two || fail "two parallel jobs wrote other files than one run"
cmp one/.pelimon-manifest two/.pelimon-manifest || fail "the manifests differ"
[ "$(grep -c $'\t' two/.pelimon-manifest)" -eq "$n" ] || fail "the manifest does not hold every output"

# One process per file, six at a time, all merging into one manifest.
(cd src && find . -type f -print0) |
    parallel --pipe --null --recend '\0' -N 1 -j 6 "$pelimon" --files-from=- -0 "${options[@]}" -o "$work/many" "$work/src" 2>/dev/null
diff -r one many || fail "concurrent processes left other files than one run"
cmp one/.pelimon-manifest many/.pelimon-manifest || fail "concurrent processes lost manifest entries"

# Two processes at once over the same tree (every file written twice at the same time).
"$pelimon" -r -s 40x30 -q 80 -o "$work/same" src 2>/dev/null &
"$pelimon" -r -s 40x30 -q 80 --update -o "$work/same" src 2>/dev/null &
wait
diff -r --exclude='.pelimon-manifest*' one same || fail "two processes over one tree left other files"
! ls -a same/*/ | grep -q '\.pelimon-[0-9]' || fail "a temporary file was left behind"

# The tree the parallel jobs made is up to date for one run.
"$pelimon" -r "${options[@]}" --verbose -o "$work/two" src 2>err
! grep -q $'\t' err || fail "an update over an unchanged tree wrote: $(cat err)"
echo "parallel runs: OK ($n files)"
