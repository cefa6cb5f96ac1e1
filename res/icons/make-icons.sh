#!/usr/bin/env bash
# Renders the program's icon from quenzo.svg: PNGs in the desktop's icon-theme sizes, and the window
# icon group (16 x 16 and 32 x 32, 256 colours). Needs ImageMagick. The generated files are kept in
# the repository, so building does not need this script.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  convert -background none -density 384 quenzo.svg -resize "${size}x${size}" "quenzo-${size}.png"
done
convert quenzo-16.png quenzo-32.png -colors 256 quenzo.ico
