#!/bin/sh
# SPDX-License-Identifier: MIT
# Draws the program's artwork with ImageMagick (Debian package imagemagick).
# The images are committed, so this only needs to run again when a picture is
# changed here.
#   sh ui/resources/draw_artwork.sh
set -eu
cd "$(dirname "$0")"

# Window icon, 16 x 16: the program's icon (icons/kestrow.svg) drawn again
# pixel by pixel, since the drawing shrunk to this size blurs: a sun with eight
# rays on a sky whose corners are rounded off. The sky is a gradient laid
# under the picture below (blank there); "x" marks the corners left
# transparent. Stored as 24-bit RGB with one colour marked transparent (tRNS).
cat > sun.xpm <<'XPM'
/* XPM */
static char *sun[] = {
"16 16 7 1",
"  c None",
"x c #FF00FF",
"r c #FFB000",
"o c #C86400",
"y c #FFD800",
"h c #FFF3A0",
"d c #F0A000",
"xx            xx",
"x      r       x",
"  r    r    r   ",
"   r       r    ",
"      ooo       ",
"     ohhyo      ",
"    ohyyyyo     ",
" rr oyyyyyo rr  ",
"    oyyyydo     ",
"     oyddo      ",
"      ooo       ",
"   r       r    ",
"  r    r    r   ",
"       r        ",
"x              x",
"xx            xx"};
XPM
convert -size 16x16 gradient:'#1f4f96-#3b74c0' sun.xpm -composite \
    -transparent '#FF00FF' -strip -define png:color-type=2 png24:sun.png
rm -f sun.xpm

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
