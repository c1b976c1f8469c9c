#!/usr/bin/env bash
# Renders the PNG icons from the SVG. The PNGs are committed, so building never needs this; run it
# after changing the SVG (needs rsvg-convert from librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
id=io.github.korvane.Korvane
for size in 48 128 256; do
    mkdir -p "${size}x${size}"
    rsvg-convert --width "$size" --height "$size" "$id.svg" --output "${size}x${size}/$id.png"
done

# The Windows icon: every size Windows asks for, in one .ico (needs ImageMagick's convert).
work=$(mktemp -d)
for size in 16 24 32 48 64 256; do
    rsvg-convert --width "$size" --height "$size" "$id.svg" --output "$work/$size.png"
done
/usr/bin/convert "$work"/{16,24,32,48,64,256}.png ../windows/korvane.ico
rm -rf "$work"
