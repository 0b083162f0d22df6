#!/usr/bin/env bash
# Draws the program's own images (toolbar buttons, application icon, splash picture)
# with ImageMagick. Run it again after changing a drawing; the results are committed.
set -euo pipefail
cd "$(dirname "$0")"
font=DejaVu-Sans-Bold

button() { # name glyph colour
  convert -size 16x15 xc:none -font "$font" -pointsize 13 -fill "$3" -gravity center \
    -annotate +0+0 "$2" "toolbar/$1.png"
}
button home     '⌂' '#1f5fbf'
button refresh  '↻' '#1f8f3f'
button clear    '✕' '#7f7f7f'
button resize   '↔' '#8f5f1f'
button delete   '✖' '#c0281f'
button config   '⚙' '#4f4f4f'
button targets  '➜' '#1f5fbf'
button filetypes '≡' '#4f4f8f'
button about    '?' '#1f5fbf'
button undo     '↶' '#1f5fbf'
button redo     '↷' '#1f5fbf'

# The printer is drawn, no font has a good glyph for it.
convert -size 16x15 xc:none -stroke '#2f2f2f' -fill '#ffffff' -draw 'rectangle 4,1 11,6' \
  -fill '#7f7f7f' -draw 'rectangle 1,6 14,11' -fill '#ffffff' -draw 'rectangle 4,10 11,14' \
  toolbar/print.png

# Application icon: a stack of two pictures with an arrow into a folder.
convert -size 64x64 xc:none \
  -fill '#f4c542' -stroke '#8a6d10' -strokewidth 2 -draw 'roundrectangle 4,22 60,58 5,5' \
  -fill '#ffffff' -stroke '#3a5f8f' -draw 'rectangle 14,6 46,34' \
  -fill '#6fa8dc' -stroke none -draw 'polygon 16,32 26,18 34,28 38,22 44,32' \
  -fill '#f6b26b' -draw 'circle 40,12 40,15' \
  vantrel.png

# Splash picture: 395 x 297, 8 bits per pixel with a colour table, uncompressed.
convert -size 395x297 gradient:'#20406a'-'#5f8fc0' \
  -fill white -font "$font" -pointsize 54 -gravity north -annotate +0+70 'Vantrel' \
  -font DejaVu-Sans -pointsize 18 -annotate +0+150 'Picture sorting, one click at a time' \
  -pointsize 12 -gravity south -annotate +0+18 'Version 1.0' \
  -type Palette -colors 256 -compress None BMP3:splash.bmp
