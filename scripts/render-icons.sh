#!/usr/bin/env bash
# Renders the program's square icon drawing to PNGs, one per size:
#   render-icons.sh SVG OUTDIR SIZE...   ->   OUTDIR/tallyra-SIZE.png
# The build calls it for the freedesktop icon theme sizes that have no committed PNG.
# Without arguments it renders the window icons that are committed and compiled into the
# program: resources/icons/Tallyra32.png, Tallyra24.png, Tallyra20.png and Tallyra16.png.
set -euo pipefail

if [ $# -eq 0 ]; then
  icons="$(cd "$(dirname "$0")/../resources/icons" && pwd)"
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  "$0" "$icons/tallyra.svg" "$tmp" 32 24 20 16
  for size in 32 24 20 16; do
    mv -f "$tmp/tallyra-$size.png" "$icons/Tallyra$size.png"
  done
  echo "render-icons: $(cd "$icons" && ls Tallyra*.png | tr '\n' ' ')"
  exit 0
fi
if [ $# -lt 3 ]; then
  echo "usage: $0 SVG OUTDIR SIZE..." >&2
  exit 2
fi
svg=$1
out=$2
shift 2
if [ ! -f "$svg" ]; then
  echo "render-icons: no such drawing: $svg" >&2
  exit 1
fi
if ! command -v rsvg-convert >/dev/null; then
  echo "render-icons: rsvg-convert not found (Debian package librsvg2-bin)" >&2
  exit 1
fi
mkdir -p "$out"
for size in "$@"; do
  case $size in
    '' | *[!0-9]*) echo "render-icons: not a size: $size" >&2; exit 2 ;;
  esac
  # Render to a temporary name first, so that a failed run leaves no half-written icon.
  rsvg-convert --width "$size" --height "$size" --format png \
    --output "$out/tallyra-$size.png.tmp" "$svg"
  mv -f "$out/tallyra-$size.png.tmp" "$out/tallyra-$size.png"
done
