#!/bin/sh
# Makes camera-size photographs from the wallpaper package's photographs and runs
# vantrel-bench-view on them. Usage: bench/view-bench.sh [BUILD_DIR] [WORK_DIR]
set -eu
build=${1:-build/release}
work=${2:-/tmp/vantrel-view-bench}
src=/usr/share/wallpapers
mkdir -p "$work/photos"
for name in Autumn BytheWater ColdRipple ColorfulCups DarkestHour EveningGlow FallenLeaf \
            Kite OneStandsOut Path; do
    out="$work/photos/$name.jpg"
    [ -f "$out" ] || convert "$src/$name/contents/images/2560x1600.jpg" -resize '6000x4000!' \
        -quality 90 "$out"
done
big="$work/big60mp-progressive.jpg"
[ -f "$big" ] || convert "$src/Kite/contents/images/2560x1600.jpg" -resize '9500x6334!' \
    -interlace Plane -quality 90 "$big"
printf '%%!PS-Adobe-3.0 EPSF-3.0\n%%%%BoundingBox: 0 0 400 300\n{ } loop\n' > "$work/endless.eps"
bench="$build/bench/vantrel-bench-view"
"$bench" sort "$work/photos" 200
"$bench" step "$work/photos" 50
"$bench" stall "$big"
"$bench" stall "$work/endless.eps"
