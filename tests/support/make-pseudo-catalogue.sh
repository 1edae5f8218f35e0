#!/usr/bin/env bash
# Writes a pseudo-translation catalogue of every program text, for the tests that show a language
# added as one .po file: the language "xx", whose every line of every message is the English in
# brackets ("[Run]"), with English's two plural forms.
# Usage: tests/support/make-pseudo-catalogue.sh OUTPUT.po
set -euo pipefail
output=$(realpath -m "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$(dirname "$0")/../../scripts/update-catalogue.sh" --template "$work/template.pot"
{
    printf '%s\n' 'msgid ""' 'msgstr ""' \
        '"Project-Id-Version: pelimon\n"' \
        '"PO-Revision-Date: 2026-12-09 00:00+0000\n"' \
        '"Last-Translator: pelimon tests\n"' \
        '"Language-Team: pseudo-translation\n"' \
        '"Language: xx\n"' \
        '"MIME-Version: 1.0\n"' \
        '"Content-Type: text/plain; charset=UTF-8\n"' \
        '"Content-Transfer-Encoding: 8bit\n"' \
        '"Plural-Forms: nplurals=2; plural=(n != 1);\n"' ''
    # The template without its header, every message translated as itself.
    msgen --no-wrap "$work/template.pot" | sed '1,/^$/d'
} >"$work/english.po"
msgfilter --keep-header --no-wrap -i "$work/english.po" -o "$output" sed -e 's/^\(..*\)$/[\1]/'
