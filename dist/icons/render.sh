#!/bin/sh
# Renders the PNG sizes of the icon from cellvane.svg (needs librsvg2-bin).
# The PNGs are kept in the repository, so building needs no SVG renderer.
set -e
cd "$(dirname "$0")"
for s in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w $s -h $s cellvane.svg -o cellvane-$s.png
done
