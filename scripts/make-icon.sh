#!/bin/sh
# Renders desktop/cvtelnet.svg at 16, 32, 48 and 256 pixels and packs the
# pictures into desktop/cvtelnet.ico, the Windows program's icon.
#   make-icon.sh   (from the repository's top folder; needs rsvg-convert and ImageMagick)
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 16 32 48 256; do
  rsvg-convert -w "$size" -h "$size" desktop/cvtelnet.svg -o "$work/$size.png"
done
convert "$work/16.png" "$work/32.png" "$work/48.png" "$work/256.png" desktop/cvtelnet.ico
