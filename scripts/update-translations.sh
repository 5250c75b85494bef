#!/usr/bin/env bash
# Brings the translation files up to date with the texts in the sources: new texts are
# added unfinished, texts no longer used are dropped. Translate the new entries with
# Qt Linguist (linguist i18n/tacknote_en.ts) or by hand, then commit the .ts files.
# The Portuguese file holds only the texts with plural forms: the sources are Portuguese,
# and only a count needs Portuguese forms of its own ("1 minuto", "5 minutos").
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
"$lupdate" -silent -no-obsolete -locations none -source-language pt_BR -target-language en_US -I . \
    core gui platform app -ts i18n/tacknote_en.ts
"$lupdate" -silent -no-obsolete -locations none -pluralonly -source-language pt_BR \
    -target-language pt_BR -I . core gui platform app -ts i18n/tacknote_pt.ts
