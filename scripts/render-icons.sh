#!/usr/bin/env bash
# Renders the program icon's PNG sizes in data/icons/, and those the browser extension
# shows in data/browser/icons/, from the hand-made data/icons/tacknote.svg. Run after changing the SVG and commit the PNGs; the build
# installs the committed files and needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v rsvg-convert >/dev/null; then
    echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2
    exit 1
fi
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "data/icons/tacknote-$size.png" data/icons/tacknote.svg
done
mkdir -p data/browser/icons
for size in 16 32 48 128; do
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "data/browser/icons/tacknote-$size.png" data/icons/tacknote.svg
done
