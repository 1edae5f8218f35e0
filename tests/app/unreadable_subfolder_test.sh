#!/usr/bin/env bash
# A tree with a subfolder that cannot be read, through the pelimon binary: the subfolder is named on
# standard error, the rest of the tree is reduced, and the exit status says that something failed.
# As root, the run does without the capabilities that override permissions, as any user would.
# Usage: unreadable_subfolder_test.sh PELIMON JPEG
set -euo pipefail
pelimon=$1 image=$2
work=$(mktemp -d)
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen LANGUAGE=en
unset DISPLAY WAYLAND_DISPLAY
cd "$work"
for folder in a locked z; do
    mkdir -p "src/$folder"
    cp "$image" "src/$folder/p.jpg"
done
chmod 000 src/locked
run=("$pelimon")
[ "$(id -u)" -ne 0 ] || run=(setpriv --bounding-set -dac_override,-dac_read_search -- "$pelimon")
status=0
"${run[@]}" -r -s 40x30 -o "$work/out" src 2>err || status=$?
fail() { echo "FAIL: $*"; cat err; exit 1; }
[ "$status" -eq 4 ] || fail "exit status $status, not 4"
grep -q "src/locked" err || fail "the unreadable subfolder is not named"
[ -f out/a/p.jpg ] && [ -f out/z/p.jpg ] || fail "the rest of the tree was not reduced"
echo "unreadable subfolder: OK"
