#!/bin/sh
# Draws the pictures of the shipped examples with ImageMagick (6.9 or later)
# and the DejaVu fonts. They are ours, so they ship under the program's own
# licence. Run it from anywhere; it rewrites:
#   data/program/images/Backgrounds/  layout pictures, copied into the
#                                     user's images folder at first start
#   data/source/examples/pictures/    pictures embedded in the documents
# Every tile is made with the "tile" virtual pixels, so its edges meet
# seamlessly when the page repeats it.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
backgrounds=$here/../../../program/images/Backgrounds
mkdir -p "$backgrounds"

# Linen: woven noise in warm off-white, for a page background.
convert -size 128x128 xc:gray50 -seed 14 +noise Random -virtual-pixel tile -colorspace gray \
    \( -clone 0 -motion-blur 0x10+0 \) \( -clone 0 -motion-blur 0x10+90 \) -delete 0 \
    -compose multiply -composite -auto-level +level 30%,70% \
    -colorspace sRGB -type TrueColor +level-colors '#E2D7C1','#FBF8F1' \
    -strip -quality 85 "$backgrounds/linen.jpg"

# Roses: one tea rose on blush pink in a 24-pixel tile, so that a frame of
# 24 pixels shows a single row of roses all round.
convert -size 24x24 xc:'#F3E1DC' \
    -fill '#6F8F5A' -draw "ellipse 5,17 5,2.2 0,360" -draw "ellipse 19,7 5,2.2 0,360" \
    -fill '#C65B6E' -stroke '#9E3A50' -strokewidth 1 -draw "circle 12,12 18,12" \
    -fill none -stroke '#8E2F45' -strokewidth 1.1 \
    -draw "arc 8,8 16,16 200,520" -draw "arc 10,10 14,14 0,300" \
    -strip -define png:compression-level=9 "$backgrounds/roses.png"

# Oak: straight grain, for a frame.
convert -size 64x64 xc:gray50 -seed 14 +noise Random -virtual-pixel tile -colorspace gray \
    -motion-blur 0x40+90 -blur 2x0.8 -auto-level \
    -colorspace sRGB -type TrueColor +level-colors '#76502F','#A07043' \
    -strip -quality 85 "$backgrounds/oak.jpg"

# Paper band: a ruled parchment top fading to white, repeated across the
# text area only.
convert -size 8x200 gradient:'#E9D9BA'-'#FFFFFF' \
    -fill '#B08A55' -draw "rectangle 0,0 7,3" -fill '#FFFFFF' -draw "rectangle 0,4 7,5" \
    -fill '#C9A46E' -draw "rectangle 0,6 7,6" \
    -strip -define png:compression-level=9 "$backgrounds/paper-band.png"

# The shop logo of the simple example.
convert -size 680x160 xc:white \
    -fill none -stroke '#1F4E5F' -strokewidth 5 -draw "circle 80,80 80,14" \
    -stroke '#B8893B' -strokewidth 2 -draw "circle 80,80 80,24" -stroke none \
    -fill '#1F4E5F' -font DejaVu-Serif-Bold -pointsize 52 -gravity NorthWest -annotate +44+44 'HL' \
    -font DejaVu-Serif -pointsize 50 -annotate +170+30 'Harbour Lane' \
    -fill '#B8893B' -font DejaVu-Sans -pointsize 21 \
    -annotate +174+100 'A N T I Q U E S   &   C O L L E C T A B L E S' \
    -resize 50% -colors 24 -fuzz 3% -fill white -opaque white \
    -strip -define png:compression-level=9 \
    "PNG8:$here/harbour-lane-logo.png"
