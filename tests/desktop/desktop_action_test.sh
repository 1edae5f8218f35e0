#!/usr/bin/env bash
# The file managers' helper: a preset reduces the chosen files and folders (folders with their
# subfolders) into a folder named after it beside them and says so in a notification; a missing
# preset is a critical notification; without presets "choose" says how to make one.
#   desktop_action_test.sh HELPER PELIMON
set -euo pipefail
helper=$1 pelimon=$2
source_images=$(cd "$(dirname "$0")/../data/images" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/bin" "$scratch/photos/trip/day2"
ln -s "$pelimon" "$scratch/bin/pelimon"
# notify-send stands in for the desktop: it records its arguments, one a line.
cat >"$scratch/bin/notify-send" <<'STUB'
#!/bin/sh
printf '%s\n' "$@" >"$NOTIFIED"
STUB
chmod +x "$scratch/bin/notify-send"
cp "$source_images/jpeg_baseline.jpg" "$scratch/photos/a.jpg"
cp "$source_images/jpeg_baseline.jpg" "$scratch/photos/trip/b.jpg"
cp "$source_images/jpeg_baseline.jpg" "$scratch/photos/trip/day2/c.jpg"
export PATH="$scratch/bin:/usr/bin:/bin" PELIMON_INI="$scratch/pelimon.ini" NOTIFIED="$scratch/notified" LANGUAGE=en
unset DISPLAY WAYLAND_DISPLAY
fail() { echo "FAIL: $*" >&2; exit 1; }

# No presets yet: "choose" says how to make one, and writes nothing.
"$helper" choose "$scratch/photos/a.jpg"
grep -q 'Save as preset' "$scratch/notified" || fail "no hint without presets: $(cat "$scratch/notified")"

pelimon -s 8x8 --save-preset web 2>/dev/null
[ "$("$helper" list)" = web ] || fail "list"

"$helper" preset web "$scratch/photos/a.jpg" "$scratch/photos/trip"
got=$(cd "$scratch/photos/web" && find . -type f | sort | tr '\n' ' ')
[ "$got" = "./a.jpg ./b.jpg ./day2/c.jpg " ] || fail "outputs: $got"
grep -q -- '--urgency=normal' "$scratch/notified" || fail "urgency: $(cat "$scratch/notified")"
grep -q 'pelimon: web' "$scratch/notified" || fail "title: $(cat "$scratch/notified")"
grep -q '3' "$scratch/notified" || fail "summary: $(cat "$scratch/notified")"

# A preset that is gone: a critical notification naming it, and pelimon's status.
status=0
"$helper" preset gone "$scratch/photos/a.jpg" || status=$?
[ "$status" = 2 ] || fail "status $status"
grep -q -- '--urgency=critical' "$scratch/notified" || fail "critical: $(cat "$scratch/notified")"
grep -q "gone" "$scratch/notified" || fail "names the preset: $(cat "$scratch/notified")"
[ ! -e "$scratch/photos/gone" ] || fail "wrote for a missing preset"
echo ok
