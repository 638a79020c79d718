#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the application icon's PNG sizes from the SVG drawing (needs librsvg2-bin).
set -e
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p hicolor/${size}x${size}/apps
  rsvg-convert -w $size -h $size io.github.corvina.Corvina.svg \
    -o hicolor/${size}x${size}/apps/io.github.corvina.Corvina.png
done
