#!/usr/bin/env bash
# Brings the translation files up to date with the texts in the sources: new texts are
# added unfinished, texts no longer used are dropped. Translate the new entries with
# Qt Linguist (linguist i18n/tacknote_en.ts) or by hand, then commit the .ts files.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
"$lupdate" -silent -no-obsolete -locations none -source-language pt_BR -target-language en_US -I . \
    core gui platform app -ts i18n/tacknote_en.ts
