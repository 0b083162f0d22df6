#!/usr/bin/env bash
# Time to show the newer picture types fitted into a 1280x900 control, as the view decodes
# them (vantrel-decode --fit), each beside a JPEG of the same picture and size:
#   - a 24-megapixel camera RAW file (6000x4000 DNG written by tests/picture/make-dng.py:
#     a Bayer mosaic of 16 bits a sample, 48 MB, with the photograph as a full-size preview
#     JPEG of quality 90, as cameras store it) and the same JPEG on its own;
#   - a 12-megapixel HEIC (heif-enc -q 60) and AVIF (heif-enc -A -q 60) of 4000x3000 and the
#     JPEG of that size.
# The photographs are made from the wallpaper package's photographs (plasma-workspace-
# wallpapers). Prints one line per file with the median and the 90th percentile of ROUNDS
# decodes.
#
#   bench/raw-bench.sh [BUILD_DIR] [ROUNDS]     (defaults: build/release, 11)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
rounds=${2:-11}
tool="$build/bench/vantrel-decode"
[ -x "$tool" ] || { echo "build $tool first (cmake --build --preset release)" >&2; exit 2; }
command -v heif-enc >/dev/null || { echo "heif-enc missing (libheif-examples)" >&2; exit 2; }
photo=/usr/share/wallpapers/BytheWater/contents/images/2560x1600.jpg
[ -r "$photo" ] || { echo "$photo missing (plasma-workspace-wallpapers)" >&2; exit 2; }

work="$build/bench/raw-bench"
mkdir -p "$work"
[ -s "$work/photo-24mp.jpg" ] || convert "$photo" -resize '6000x4000!' -quality 90 \
    "$work/photo-24mp.jpg"
[ -s "$work/photo-24mp.dng" ] || python3 tests/picture/make-dng.py "$work/photo-24mp.dng" \
    --size 6000x4000 --preview "$work/photo-24mp.jpg"
[ -s "$work/photo-12mp.png" ] || convert "$photo" -resize '4000x3000!' "$work/photo-12mp.png"
[ -s "$work/photo-12mp.jpg" ] || convert "$work/photo-12mp.png" -quality 90 "$work/photo-12mp.jpg"
[ -s "$work/photo-12mp.heic" ] || heif-enc -q 60 -o "$work/photo-12mp.heic" \
    "$work/photo-12mp.png" >/dev/null
[ -s "$work/photo-12mp.avif" ] || heif-enc -A -q 60 -o "$work/photo-12mp.avif" \
    "$work/photo-12mp.png" >/dev/null
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
"$tool" --fit 1280x900 --repeat "$rounds" "$work/photo-24mp.jpg" "$work/photo-24mp.dng" \
    "$work/photo-12mp.jpg" "$work/photo-12mp.heic" "$work/photo-12mp.avif"
