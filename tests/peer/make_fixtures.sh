#!/bin/sh
# Remakes tests/peer/data: GIFs written by ImageMagick (the real binary, convert-im6.q16) from
# pictures that Debian packages ship, and the small GIFs that Debian packages ship as they are.
# Needs: imagemagick, golang-1.19-src; the shipped GIFs come from libtk8.6, libxslt1-dev and
# cmake-data (any that are missing are skipped).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
out=$here/data
im=/usr/bin/convert-im6.q16
[ -x "$im" ] || { echo "make_fixtures: $im not found (apt-get install imagemagick)" >&2; exit 1; }
go=/usr/share/go-1.19/src/image/testdata
photo=$go/video-001.png
[ -f "$photo" ] || { echo "make_fixtures: missing $photo (apt-get install golang-1.19-src)" >&2; exit 1; }

rm -rf "$out"
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Stills: full 8-bit palette with dithering (many clear codes), interlaced, narrow codes,
# odd sizes, a GIF87a file, a comment.
$im "$photo" -dither FloydSteinberg -colors 256 "$out/im-photo-256.gif"
$im "$photo" -resize 400x275! -dither FloydSteinberg -colors 256 "$out/im-photo-400x275.gif"
$im "$photo" -dither FloydSteinberg -colors 200 -interlace GIF "$out/im-photo-interlaced.gif"
$im "$photo" -resize 37x5! -colors 64 -interlace GIF "$out/im-interlaced-37x5.gif"
$im "$photo" -resize 321x3! -colors 64 -interlace GIF "$out/im-interlaced-321x3.gif"
$im "$photo" -colorspace Gray -dither FloydSteinberg -colors 2 "$out/im-mono.gif"
$im "$photo" -dither None -colors 4 "$out/im-4colors.gif"
$im "$photo" -dither FloydSteinberg -colors 16 -comment "Quillop peer fixture: 16 colours" \
  "$out/im-16colors-comment.gif"
$im -size 1x1 xc:red "$out/im-1x1.gif"
$im "$photo" -resize 64x64! -colors 32 "gif87:$out/im-gif87a.gif"

# Transparency in a still: a rotated photo on a transparent background.
$im "$photo" -resize 90x62! -background none -rotate 30 -colors 128 "$out/im-rotated-transparent.gif"

# Animations. Crops of the photo panning: full frames, then optimised (sub-rectangles and
# transparent unchanged pixels), with delays and a loop count.
i=0
while [ $i -lt 12 ]; do
  $im "$photo" -crop 96x72+$((i * 4))+$((i * 2)) +repage "$tmp/pan-$(printf %02d $i).png"
  i=$((i + 1))
done
$im -delay 7 -loop 3 "$tmp"/pan-*.png "$out/im-anim-pan.gif"
$im -delay 7 -loop 0 "$tmp"/pan-*.png -layers OptimizeTransparency "$out/im-anim-pan-opt.gif"

# A moving sprite over a transparent screen, frames optimised by ImageMagick (disposal
# methods chosen per frame), with varying delays.
$im "$photo" -resize 24x17! "$tmp/sprite.png"
i=0
while [ $i -lt 10 ]; do
  $im -size 80x60 xc:none "$tmp/sprite.png" -geometry +$((i * 6))+$((i * 4)) -composite \
    "$tmp/sprite-$(printf %02d $i).png"
  i=$((i + 1))
done
$im -dispose Background -delay 5 "$tmp"/sprite-*.png -delay 20 "$tmp/sprite-09.png" \
  -loop 0 "$out/im-anim-dispose-background.gif"
$im -dispose Previous -delay 4 "$tmp"/sprite-*.png -loop 0 "$out/im-anim-dispose-previous.gif"
$im -dispose None -delay 4 "$tmp"/sprite-*.png -loop 0 -layers Optimize "$out/im-anim-optimized.gif"

# A background with a sprite drawn on it with disposal 3 (restore to previous) frames, built
# explicitly: frame 1 the full background, the others only the sprite's rectangle.
$im "$photo" -resize 80x60! -colors 64 "$tmp/bg.gif"
$im "$tmp/bg.gif" \
  -dispose Previous \( "$tmp/sprite.png" -repage +5+5 \) \
  \( "$tmp/sprite.png" -repage +30+20 \) \
  \( "$tmp/sprite.png" -repage +50+35 \) \
  -loop 2 "$out/im-anim-previous-subframes.gif"

# Each frame with its own local colour table.
$im -delay 10 \( "$photo" -resize 60x40! -colors 16 \) \( "$photo" -resize 60x40! -negate -colors 8 \) \
  \( "$photo" -resize 60x40! -colorspace Gray -colors 4 \) +map "$out/im-anim-local-tables.gif"

# GIFs shipped by Debian packages, as they are.
for f in $go/*.gif /usr/share/tcltk/tk8.6/images/*.gif /usr/share/doc/libxslt1-dev/html/*.gif \
         /usr/share/doc/cmake-data/*.gif; do
  [ -f "$f" ] || continue
  cp "$f" "$out/deb-$(basename "$(dirname "$f")")-$(basename "$f")"
done

du -sh "$out"
ls "$out" | wc -l
