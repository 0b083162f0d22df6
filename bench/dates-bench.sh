#!/bin/sh
# Makes camera-size photographs with a date taken written in (JPEG from the wallpaper
# package's photographs, a 12-megapixel HEIC and a 6-megapixel DNG) and runs
# vantrel-bench-dates on them. Usage: bench/dates-bench.sh [BUILD_DIR] [WORK_DIR] [COUNT]
set -eu
build=$(cd "${1:-build/release}" && pwd) # absolute: the sandboxed helper starts elsewhere
work=${2:-/tmp/vantrel-dates-bench}
count=${3:-10000}
src=/usr/share/wallpapers
mkdir -p "$work/src"
stamp() { # the placeholder date the benchmark writes each copy's own over, at UTC+1
    exiv2 -M"set Exif.Photo.DateTimeOriginal 2020:01:01 00:00:00" \
          -M"set Exif.Photo.OffsetTimeOriginal +01:00" "$1" 2>/dev/null
}
for name in Autumn BytheWater ColdRipple Kite; do
    out="$work/src/$name.jpg"
    if [ ! -f "$out" ]; then
        convert "$src/$name/contents/images/2560x1600.jpg" -resize '6000x4000!' -quality 90 "$out"
        stamp "$out"
    fi
done
heic="$work/src/photo12mp.heic"
if [ ! -f "$heic" ]; then
    convert "$work/src/Kite.jpg" -resize '4000x3000!' "$work/12mp.jpg"
    heif-enc -q 85 -o "$heic" "$work/12mp.jpg" >/dev/null # the record goes along
fi
dng="$work/src/photo6mp.dng"
if [ ! -f "$dng" ]; then
    python3 tests/picture/make-dng.py "$dng" --size 3000x2000
    exiv2 -M"set Exif.Image.Make Tessaro" "$dng" 2>/dev/null
    stamp "$dng"
fi
export VANTREL_DECODER="${VANTREL_DECODER:-$build/app/vantrel-decoder}"
"$build/bench/vantrel-bench-dates" "$work" "$work"/src/*.jpg --count "$count" \
    --heic "$heic" --dng "$dng"
