#!/usr/bin/env bash
# Renders the icon's PNG sizes from its SVG drawing (needs rsvg-convert, Debian's librsvg2-bin).
# Run after changing the drawing and commit the PNGs with it.
set -euo pipefail
cd "$(dirname "$0")"
for size in 48 256; do
  rsvg-convert -w "$size" -h "$size" org.morvane.Brevio.svg -o "org.morvane.Brevio-$size.png"
done
