#!/bin/sh
# Makes camera-size photographs from the wallpaper package's photographs and runs
# vantrel-bench-view on them. Usage: bench/view-bench.sh [BUILD_DIR] [WORK_DIR]
set -eu
build=$(cd "${1:-build/release}" && pwd) # absolute: the sandboxed helper starts elsewhere
work=${2:-/tmp/vantrel-view-bench}
"$(dirname "$0")/make-photos.sh" "$work/photos"
src=/usr/share/wallpapers
big="$work/big60mp-progressive.jpg"
[ -f "$big" ] || convert "$src/Kite/contents/images/2560x1600.jpg" -resize '9500x6334!' \
    -interlace Plane -quality 90 "$big"
printf '%%!PS-Adobe-3.0 EPSF-3.0\n%%%%BoundingBox: 0 0 400 300\n{ } loop\n' > "$work/endless.eps"
# Pictures the decoder helper takes seconds over: a 12-megapixel HEIC and a 6-megapixel PCX.
heic="$work/photo12mp.heic"
if [ ! -f "$heic" ]; then
    convert "$src/Kite/contents/images/2560x1600.jpg" -resize '4000x3000!' "$work/12mp.png"
    heif-enc -q 85 -o "$heic" "$work/12mp.png" >/dev/null
fi
pcx="$work/photo6mp.pcx"
[ -f "$pcx" ] || convert "$src/Kite/contents/images/2560x1600.jpg" -resize '3000x2000!' "$pcx"
# The helper of this build (the stalls measure a failure without it).
export VANTREL_DECODER="${VANTREL_DECODER:-$build/app/vantrel-decoder}"
bench="$build/bench/vantrel-bench-view"
"$bench" sort "$work/photos" 200
"$bench" step "$work/photos" 50
"$bench" stall "$big"
"$bench" stall "$work/endless.eps"
"$bench" stall "$heic"
"$bench" stall "$pcx"
