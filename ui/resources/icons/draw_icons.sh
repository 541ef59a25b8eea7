#!/bin/sh
# SPDX-License-Identifier: MIT
# Renders the program's icon, kestrow.svg, at the sizes that desktops ask
# for. The 16 x 16 size is sun.png beside the other artwork, drawn pixel by
# pixel, since a scaled drawing blurs at that size. The PNGs are committed,
# so this only needs to run again when the drawing changes.
#   sh ui/resources/icons/draw_icons.sh    (needs rsvg-convert: librsvg2-bin)
set -eu
cd "$(dirname "$0")"
for size in 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" kestrow.svg -o "kestrow-$size.png"
done
