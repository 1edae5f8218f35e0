#!/usr/bin/env bash
# The catalogues against the program's sources:
#  - every message of the sources has its translation in every po/<language>.po of po/LINGUAS,
#    none fuzzy or empty, and no catalogue holds a message the sources no longer have (msgcmp);
#  - the translations of formats take their arguments as the ids do (msgfmt --check: c-format
#    and qt-format messages; the compiled catalogue test checks every message as the program does);
#  - no string in the program's code holds Japanese: the Japanese texts are the catalogue's.
# Usage: tests/po/catalogue_test.sh SOURCE_FOLDER
set -euo pipefail
cd "$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

scripts/update-catalogue.sh --template "$work/template.pot"
grep -v '^#' po/LINGUAS | while read -r language; do
    [ -n "$language" ] || continue
    echo "-- po/$language.po"
    if ! msgcmp "po/$language.po" "$work/template.pot" 2>"$work/msgcmp.log" || [ -s "$work/msgcmp.log" ]; then
        cat "$work/msgcmp.log"
        echo "po/$language.po is not in step with the sources: run scripts/update-catalogue.sh and translate"
        exit 1
    fi
    msgfmt --check --output-file=/dev/null "po/$language.po"
done || failed=1

# Every string literal of the program's code, with the file it is in.
scripts/update-catalogue.sh --sources |
    xgettext --files-from=- --extract-all --from-code=UTF-8 --language=C++ --add-location=file --no-wrap \
        --output="$work/strings.po" 2>/dev/null
# Japanese: kana and CJK punctuation, kanji, full-width forms. The one string allowed is data, not a
# text: the default of the settings file's SizeString, which the window rewrites in its language.
if perl -00 -CSD -ne '
        next unless /^msgid/m && /[\x{3000}-\x{30FF}\x{3400}-\x{9FFF}\x{FF00}-\x{FFEF}]/;
        next if m{^#: settings/settings_table\.cpp$}m && /^msgid "\x{5E45}\x{30FB}\x{9AD8}\x{3055}/m;
        print; $found = 1;
        END { exit($found ? 0 : 1) }' "$work/strings.po"; then
    echo "Japanese strings in the code: give them English message ids and their Japanese in po/ja.po"
    failed=1
fi
exit $failed
