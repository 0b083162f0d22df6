#!/usr/bin/env bash
# Renders the application icon at the sizes of the hicolor theme from its drawing
# (rsvg-convert, Debian librsvg2-bin). Run it again after changing the drawing; the
# results are committed.
set -euo pipefail
cd "$(dirname "$0")/icons"
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" com.ostlewin.Vantrel.svg -o "com.ostlewin.Vantrel-$size.png"
done
