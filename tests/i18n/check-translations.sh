#!/usr/bin/env bash
# The English translation covers every text of the sources: brought up to date with the
# sources, the translation file must not change, and no entry may be unfinished.
set -euo pipefail
source_dir=$1
lupdate=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/i18n/tacknote_en.ts" "$work/tacknote_en.ts"
cd "$source_dir"
"$lupdate" -silent -no-obsolete -locations none -source-language pt_BR -target-language en_US \
    -I . core gui platform app -ts "$work/tacknote_en.ts"
if ! diff -u "$source_dir/i18n/tacknote_en.ts" "$work/tacknote_en.ts"; then
    echo "i18n/tacknote_en.ts is out of date: run scripts/update-translations.sh and translate the new texts." >&2
    exit 1
fi
if grep -n 'type="unfinished"' "$work/tacknote_en.ts"; then
    echo "i18n/tacknote_en.ts has untranslated texts (above)." >&2
    exit 1
fi
