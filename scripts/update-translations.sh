#!/usr/bin/env bash
# Brings res/i18n/pelimon_en.ts up to date with the window's texts: lupdate collects every
# QT_TRANSLATE_NOOP text of gui/, dialogs/ and controls/, keeps the English already written and
# drops texts that are gone. New texts arrive unfinished; translate them (Qt Linguist or an editor)
# before committing: the translation test fails on any text without its English.
# Usage: scripts/update-translations.sh [path to lupdate]
set -euo pipefail
cd "$(dirname "$0")/.."
LUPDATE=${1:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}
"$LUPDATE" -silent -no-obsolete -locations none -source-language ja -target-language en \
    -extensions h,cpp gui dialogs controls -ts res/i18n/pelimon_en.ts
