#!/bin/sh
# Draws the program's artwork with ImageMagick. The images are committed, so
# this only needs to run again when a picture is changed here.
#   sh ui/resources/draw_artwork.sh
set -eu
cd "$(dirname "$0")"

FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

# Window icon: a sun, 16 x 16, 24 bits per pixel with no alpha channel.
convert -size 16x16 xc:'#2b5fa8' \
    -stroke '#ffb000' -strokewidth 1 \
    -draw 'line 8,0 8,15' -draw 'line 0,8 15,8' \
    -draw 'line 2,2 13,13' -draw 'line 2,13 13,2' \
    -stroke '#c86400' -fill '#ffd800' -draw 'circle 7.5,7.5 7.5,3.5' \
    -alpha off -define png:color-type=2 png24:sun.png

# The About window's photograph: a sun setting behind hills over a lake, 100 x 67.
convert -size 100x67 gradient:'#27518f-#f4b860' \
    -fill '#fff2a8' -draw 'circle 66,37 66,29' \
    -fill '#fbe08a' -draw 'circle 66,37 66,32' \
    -fill '#35563a' -draw 'polygon 0,40 14,33 30,39 46,31 62,40 78,35 100,41 100,67 0,67' \
    -fill '#5f7fa8' -draw 'rectangle 0,47 100,67' \
    -fill '#f4d27a' -draw 'rectangle 58,49 74,50' -draw 'rectangle 61,53 71,54' \
    -draw 'rectangle 63,57 69,58' \
    -fill '#2c4a2f' -draw 'polygon 0,58 22,55 40,60 62,57 100,62 100,67 0,67' \
    -blur 0x0.6 -quality 90 -sampling-factor 1x1 photo.jpg

# The web site banner, 150 x 35, 24 bits per pixel.
convert -size 150x35 gradient:'#1f6b2e-#7fbf5a' -rotate 90 -resize '150x35!' \
    -fill '#ffd800' -stroke '#c86400' -draw 'circle 18,17 18,8' \
    -stroke none -fill '#ffffff' -font "$FONT" -pointsize 17 \
    -annotate +36+24 'Kestrow' \
    -fill '#e8f5d8' -pointsize 8 -annotate +38+32 'almanach / almanac' \
    -alpha off -define png:color-type=2 png24:banner.png

# The mail icon: an envelope in 16 colours, 32 x 32 with a 16 x 16 version.
convert -size 32x32 xc:none +antialias \
    -fill '#fffbe8' -stroke '#000080' -strokewidth 1 -draw 'rectangle 2,7 29,24' \
    -fill none -draw 'polyline 2,7 16,18 29,7' \
    -draw 'line 2,24 12,15' -draw 'line 29,24 20,15' \
    -fill '#c00000' -stroke none -draw 'rectangle 23,9 27,13' \
    -colors 16 mail32.png
convert -size 16x16 xc:none +antialias \
    -fill '#fffbe8' -stroke '#000080' -strokewidth 1 -draw 'rectangle 1,3 14,12' \
    -fill none -draw 'polyline 1,3 8,9 14,3' \
    -colors 16 mail16.png
convert mail32.png mail16.png -colors 16 mail.ico
rm -f mail32.png mail16.png

# The donation button, 57 x 25.
convert -size 57x25 xc:none \
    -fill '#ffc439' -stroke '#b07800' -strokewidth 1 -draw 'roundrectangle 0,0 56,24 6,6' \
    -stroke none -fill '#0b3170' -font "$FONT" -pointsize 12 \
    -gravity center -annotate +0+0 'Don' \
    donate.png

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
