#!/usr/bin/env bash
# Redraws quillbay-ssf-manager.ico from the desktop SVG (librsvg2-bin draws the gradient that
# ImageMagick's own SVG reader loses; ImageMagick packs the sizes). Run after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for s in 16 24 32 48 64 256; do
  rsvg-convert -w $s -h $s ../desktop/quillbay-ssf-manager.svg -o "$tmp/$s.png"
done
convert "$tmp"/{16,24,32,48,64,256}.png quillbay-ssf-manager.ico
