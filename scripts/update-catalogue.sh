#!/usr/bin/env bash
# Brings the message catalogues up to date with the program's texts: xgettext collects every
# Message("...") and PluralMessage("...", "...") of the program's folders into a template, and
# msgmerge files it into each po/<language>.po of po/LINGUAS, keeping the translations already
# written and dropping the messages that are gone. New messages arrive untranslated (or fuzzy, when
# one like them was translated before): translate them, and remove the fuzzy marks, before
# committing; the catalogue tests fail on any message without its translation.
# A comment "// TRANSLATORS: ..." just before a message goes into the catalogues with it.
#
# Usage: scripts/update-catalogue.sh                    update po/*.po
#        scripts/update-catalogue.sh --template FILE    only write the template
#        scripts/update-catalogue.sh --sources          only list the program's source files
set -euo pipefail
[ "${1:-}" = --template ] && set -- --template "$(realpath -m "$2")"
cd "$(dirname "$0")/.."

# The program's folders, core and GUI (tests, tools and documentation hold no program texts).
FOLDERS=(common imagelib settings exif filelist batch app main gui dialogs controls)

sources() {
    for folder in "${FOLDERS[@]}"; do
        [ -d "$folder" ] && find "$folder" -name '*.h' -o -name '*.cpp'
    done | LC_ALL=C sort
}

template() {
    sources | xgettext --files-from=- --output="$1" --from-code=UTF-8 --language=C++ --qt \
        --keyword --keyword=Message:1,1t --keyword=Message:1,2c,2t \
        --keyword=PluralMessage:1,2,2t --keyword=PluralMessage:1,2,3c,3t \
        --flag=Format:1:c-format --add-comments=TRANSLATORS: --add-location=file --no-wrap \
        --package-name=pelimon
}

case "${1:-}" in
    --sources)
        sources
        exit 0
        ;;
    --template)
        template "$2"
        exit 0
        ;;
esac

pot=$(mktemp --suffix=.pot)
trap 'rm -f "$pot"' EXIT
template "$pot"
grep -v '^#' po/LINGUAS | while read -r language; do
    [ -n "$language" ] || continue
    msgmerge --quiet --update --backup=none --previous --add-location=file --no-wrap "po/$language.po" "$pot"
    msgattrib --no-obsolete --add-location=file --no-wrap --output-file="po/$language.po" "po/$language.po"
    # The template's date and address would change the file on every run.
    sed -i '/^"POT-Creation-Date: /d; /^"Report-Msgid-Bugs-To: /d' "po/$language.po"
done
