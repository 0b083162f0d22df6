#!/bin/sh
# Makes photographs for the benchmarks from the wallpaper package's photographs, one JPEG
# (quality 90) of each, kept when already made. Usage: bench/make-photos.sh DIR [GEOMETRY]
# GEOMETRY is ImageMagick's, '6000x4000!' (camera size) unless given.
set -eu
dir=$1
geometry=${2:-6000x4000!}
src=/usr/share/wallpapers
mkdir -p "$dir"
for name in Autumn BytheWater ColdRipple ColorfulCups DarkestHour EveningGlow FallenLeaf \
            Kite OneStandsOut Path; do
    out="$dir/$name.jpg"
    [ -f "$out" ] || convert "$src/$name/contents/images/2560x1600.jpg" -resize "$geometry" \
        -quality 90 "$out"
done
