#!/bin/sh
# Makes the benchmark corpus for gif_bench in build/gif-corpus (or $1):
# large stills and long animations written by ImageMagick from pictures that
# Debian packages ship (desktop-base wallpapers, the Go test photo), plus the
# small GIFs that Debian packages ship as they are.
# Needs: imagemagick (the real binary, convert-im6.q16), desktop-base, golang-1.19-src.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
out=${1:-$root/build/gif-corpus}
im=/usr/bin/convert-im6.q16
[ -x "$im" ] || { echo "make_corpus: $im not found (apt-get install imagemagick)" >&2; exit 1; }

wall1=/usr/share/desktop-base/softwaves-theme/grub/grub-16x9.png
wall2=/usr/share/desktop-base/moonlight-theme/grub/grub-16x9.png
wall3=/usr/share/desktop-base/emerald-theme/grub/grub-16x9.png
photo=/usr/share/go-1.19/src/image/testdata/video-001.png
for f in "$wall1" "$wall2" "$wall3" "$photo"; do
  [ -f "$f" ] || { echo "make_corpus: missing $f (apt-get install desktop-base golang-1.19-src)" >&2; exit 1; }
done

mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Stills. Dithered photographs give short LZW strings (the decoder's worst
# case); flat wallpapers give long ones; few colours give narrow codes.
$im "$wall1" -dither FloydSteinberg -colors 256 "$out/still-wall-1920x1080.gif"
$im "$wall2" -resize 3840x2160! -dither FloydSteinberg -colors 256 "$out/still-wall-3840x2160.gif"
$im "$wall3" -dither None -colors 16 "$out/still-flat16-1920x1080.gif"
$im "$photo" -resize 2000x1373! -dither FloydSteinberg -colors 256 "$out/still-photo-2000x1373.gif"
$im "$photo" -resize 2000x1373! -dither FloydSteinberg -colors 256 -interlace GIF "$out/still-photo-interlaced-2000x1373.gif"
$im "$wall1" -colorspace Gray -dither FloydSteinberg -colors 2 "$out/still-mono-1920x1080.gif"

# Animations: a camera pan over a wallpaper, 120 frames of 640x360.
# Full frames (disposal none, no transparency) ...
i=0
while [ $i -lt 120 ]; do
  x=$((i * 10))
  y=$((i * 5 % 720))
  $im "$wall2" -crop 640x360+$x+$y +repage "$tmp/pan-$(printf %03d $i).png"
  i=$((i + 1))
done
$im -delay 4 -loop 0 "$tmp"/pan-*.png "$out/anim-pan-full-640x360x120.gif"

# ... and the same with frame optimisation: sub-rectangles, transparency, disposal.
$im "$out/anim-pan-full-640x360x120.gif" -layers OptimizeTransparency "$out/anim-pan-optimized-640x360x120.gif"

# A spinning photo: 72 frames of 500x500, disposal 2 (restore to background) over a
# transparent background, so composition clears and redraws every frame.
$im "$photo" -resize 360x247! "$tmp/photo-small.png"
i=0
while [ $i -lt 72 ]; do
  $im -size 500x500 xc:none \( "$tmp/photo-small.png" -background none -rotate $((i * 5)) \) \
    -gravity center -composite "$tmp/spin-$(printf %03d $i).png"
  i=$((i + 1))
done
$im -dispose Background -delay 5 -loop 0 "$tmp"/spin-*.png "$out/anim-spin-500x500x72.gif"

# A sprite: the Debian logo moving over a still wallpaper, 100 frames, optimised into small
# sub-rectangles (frame 1 is the whole 960x540 screen, the others only what changed).
logo=/usr/share/desktop-base/debian-logos/logo-64.png
$im "$wall3" -resize 960x540! "$tmp/sprite-bg.png"
i=0
while [ $i -lt 100 ]; do
  $im "$tmp/sprite-bg.png" "$logo" -geometry +$((i * 9))+$((200 + (i % 20) * 6)) -composite \
    "$tmp/sprite-$(printf %03d $i).png"
  i=$((i + 1))
done
$im -delay 3 -loop 0 "$tmp"/sprite-*.png -layers Optimize "$out/anim-sprite-960x540x100.gif"

# Small real GIFs shipped by Debian packages.
for f in /usr/share/go-1.19/src/image/testdata/*.gif \
         /usr/share/tcltk/tk8.6/images/*.gif \
         /usr/share/doc/libxslt1-dev/html/*.gif \
         /usr/share/doc/cmake-data/*.gif; do
  [ -f "$f" ] || continue
  pkg=$(basename "$(dirname "$f")")
  cp "$f" "$out/real-$pkg-$(basename "$f")"
done

ls -l "$out"
