#!/usr/bin/env bash
# Renders resources/icons/tallyra.svg to the PNG sizes the window and the tray use
# (Tallyra32.png ... Tallyra16.png). Needs ImageMagick's convert from /usr/bin (the one in
# /usr/local/bin may be a stand-in) or rsvg-convert.
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"
for size in 32 24 20 16; do
  if command -v rsvg-convert >/dev/null; then
    rsvg-convert -w "$size" -h "$size" tallyra.svg -o "Tallyra$size.png"
  else
    /usr/bin/convert -background none -density 384 tallyra.svg -resize "${size}x${size}" \
      -strip "PNG32:Tallyra$size.png"
  fi
done
echo "render-icons: $(ls Tallyra*.png | tr '\n' ' ')"
