#!/usr/bin/env bash
# Time to show a 12-megapixel HEIC (decoded by libheif in the sandboxed decoder helper)
# beside a JPEG of the same picture and size, both fitted into a 1280x900 control as the
# view does (vantrel-decode --fit). Prints one line per file with the median and the 90th
# percentile of ROUNDS decodes.
#
#   bench/heif-bench.sh [BUILD_DIR] [ROUNDS]     (defaults: build/release, 11)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
rounds=${2:-11}
tool="$build/bench/vantrel-decode"
[ -x "$tool" ] || { echo "build $tool first (cmake --build --preset release)" >&2; exit 2; }
command -v heif-enc >/dev/null || { echo "heif-enc missing (libheif-examples)" >&2; exit 2; }

work="$build/bench/heif-bench"
mkdir -p "$work"
png="$work/photo-4000x3000.png"
[ -s "$png" ] || /usr/bin/convert -size 4000x3000 -seed 7 plasma:fractal "$png"
[ -s "$work/photo.jpg" ] || /usr/bin/convert "$png" -quality 90 "$work/photo.jpg"
[ -s "$work/photo.heic" ] || heif-enc -q 60 -o "$work/photo.heic" "$png" >/dev/null
"$tool" --fit 1280x900 --repeat "$rounds" "$work/photo.jpg" "$work/photo.heic"
