#!/bin/sh
# Every text of the program that goes through tr() has its translation in
# each lang/*.ts: lupdate takes the sources into a copy of the file, and
# nothing may be left unfinished there (a new or changed text is).
#   translations_complete.sh SOURCE_DIR LUPDATE
set -eu
source_dir=$1
lupdate=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for ts in "$source_dir"/lang/*.ts; do
    copy="$work/$(basename "$ts")"
    cp "$ts" "$copy"
    (cd "$source_dir" && "$lupdate" -silent -no-obsolete -locations none src -ts "$copy")
    if grep -q 'type="unfinished"' "$copy"; then
        echo "$(basename "$ts") has no translation for (update it with the update-translations"
        echo "target, then translate these in Qt Linguist):"
        grep -B1 'type="unfinished"' "$copy" | sed -n 's|.*<source>\(.*\)</source>.*|    \1|p'
        status=1
    else
        echo "$(basename "$ts"): every text translated"
    fi
done
exit $status
