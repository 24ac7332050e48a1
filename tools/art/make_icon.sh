#!/bin/sh
# Draws the installer's program icon: a neutral label-printer pictogram
# (printer body, label roll window, a label coming out of the front slot).
# Output: installer/pages/res/app.ico with 16, 32, 48 and 256 pixel images.
# Needs ImageMagick 6 (convert). Run from anywhere.
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
out="$root/installer/pages/res/app.ico"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Master picture at 256 px; the small sizes are scaled from it and then
# sharpened so the slot and label stay readable at 16 px.
convert -size 256x256 xc:none \
  -fill '#2f3b4c' -draw 'roundrectangle 20,70 236,206 26,26' \
  -fill '#4a5a70' -draw 'roundrectangle 20,70 236,110 26,26' \
  -fill '#4a5a70' -draw 'rectangle 20,90 236,110' \
  -fill '#9fc3e6' -draw 'roundrectangle 60,82 196,102 8,8' \
  -fill '#f2f2f2' -draw 'circle 128,92 128,100' \
  -fill '#111820' -draw 'rectangle 44,168 212,180' \
  -fill '#ffffff' -stroke '#c9ced6' -strokewidth 3 \
      -draw 'polygon 56,174 200,174 200,244 56,244' \
  -stroke none -fill '#2f7fd0' -draw 'rectangle 72,190 184,202' \
  -fill '#8a96a6' -draw 'rectangle 72,212 160,220' \
  -fill '#8a96a6' -draw 'rectangle 72,228 136,234' \
  -fill '#6ad46a' -draw 'circle 206,138 206,148' \
  -depth 8 "PNG32:$tmp/256.png"

for s in 48 32 16; do
  convert "$tmp/256.png" -filter Lanczos -resize ${s}x${s} -unsharp 0x0.6 -depth 8 "PNG32:$tmp/$s.png"
done
convert "$tmp/16.png" "$tmp/32.png" "$tmp/48.png" "$tmp/256.png" "$out"
echo "wrote $out"
