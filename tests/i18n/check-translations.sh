#!/usr/bin/env bash
# The translations cover every text of the sources: brought up to date with the sources,
# the translation files must not change, and no entry may be unfinished. The English file
# holds every text, the Portuguese one the texts with plural forms.
set -euo pipefail
source_dir=$1
lupdate=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$source_dir"
status=0
for language in en pt; do
    cp "$source_dir/i18n/tacknote_$language.ts" "$work/tacknote_$language.ts"
    if [ "$language" = en ]; then
        options=(-target-language en_US)
    else
        options=(-pluralonly -target-language pt_BR)
    fi
    "$lupdate" -silent -no-obsolete -locations none -source-language pt_BR "${options[@]}" \
        -I . core gui platform app -ts "$work/tacknote_$language.ts"
    if ! diff -u "$source_dir/i18n/tacknote_$language.ts" "$work/tacknote_$language.ts"; then
        echo "i18n/tacknote_$language.ts is out of date: run scripts/update-translations.sh and translate the new texts." >&2
        status=1
    fi
    if grep -n 'type="unfinished"' "$work/tacknote_$language.ts"; then
        echo "i18n/tacknote_$language.ts has untranslated texts (above)." >&2
        status=1
    fi
done
exit $status
