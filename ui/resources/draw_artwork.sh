#!/bin/sh
# SPDX-License-Identifier: MIT
# Draws the program's artwork with ImageMagick. The images are committed, so
# this only needs to run again when a picture is changed here.
#   sh ui/resources/draw_artwork.sh
set -eu
cd "$(dirname "$0")"

# Window icon: a sun, 16 x 16, 24 bits per pixel with no alpha channel.
convert -size 16x16 xc:'#2b5fa8' \
    -stroke '#ffb000' -strokewidth 1 \
    -draw 'line 8,0 8,15' -draw 'line 0,8 15,8' \
    -draw 'line 2,2 13,13' -draw 'line 2,13 13,2' \
    -stroke '#c86400' -fill '#ffd800' -draw 'circle 7.5,7.5 7.5,3.5' \
    -alpha off -define png:color-type=2 png24:sun.png

# The About window's photograph, banner, mail icon and donation button are
# drawn by hand as SVG beside this script (photo.svg, banner.svg, mail.svg with
# mail16.svg, donate.svg), so that they stay sharp at any scale. Their
# lettering is outlines, so that it needs no font where it is shown; these
# print the paths pasted into banner.svg and donate.svg (python3-fonttools):
#   dejavu=/usr/share/fonts/truetype/dejavu
#   ./outline_text.py $dejavu/DejaVuSans-Bold.ttf 16 37 23 start '#ffffff' Kestrow
#   ./outline_text.py $dejavu/DejaVuSans.ttf 7 38 32 start '#e8f5d8' 'almanach / almanac'
#   ./outline_text.py $dejavu/DejaVuSans-Bold.ttf 12 28.5 17 middle '#0b3170' Don

# The hand pointer, 32 x 32: black outline, white fill, the rest transparent.
# The index fingertip is at x 5, y 0, where the hot spot goes.
cat > hand.xpm <<'XPM'
/* XPM */
static char *hand[] = {
"32 32 3 1",
"  c None",
"# c #000000",
". c #FFFFFF",
"    ###                         ",
"   #...#                        ",
"   #...#                        ",
"   #...#                        ",
"   #...#                        ",
"   #...####                     ",
"   #...#...####                 ",
"   #...#...#...###              ",
"   #...#...#...#..#             ",
"   #...#...#...#..#             ",
" ###...#...#...#..#             ",
"#..#...#...#...#..#             ",
"#.................#             ",
" #................#             ",
" #................#             ",
"  #...............#             ",
"  #...............#             ",
"   #.............#              ",
"   #.............#              ",
"    #...........#               ",
"    #...........#               ",
"    #############               ",
"                                ",
"                                ",
"                                ",
"                                ",
"                                ",
"                                ",
"                                ",
"                                ",
"                                ",
"                                "};
XPM
convert hand.xpm -define png:color-type=3 png8:hand.png
rm -f hand.xpm
