#!/bin/sh
# Start to the first sight of a picture, per type, before any picture was decoded: makes a
# 24-megapixel photograph with a magenta square in its middle in each type (JPEG, HEIC and
# AVIF with a stored thumbnail, DNG with and without a preview, and with a preview and a
# thumbnail), then starts the program RUNS times on each under a private X server and prints
# bench/first-sight.py's lines.
#   bench/first-sight.sh BUILD_DIR [WORK_DIR] [RUNS]
set -eu
build=$(cd "${1:-build/release}" && pwd)
work=${2:-/tmp/vantrel-first-sight}
runs=${3:-9}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work"
src=/usr/share/wallpapers/Kite/contents/images/2560x1600.jpg
photo="$work/photo.png"
[ -f "$photo" ] || convert "$src" -resize '6000x4000!' -fill magenta \
    -draw 'rectangle 1500,1000 4500,3000' "$photo"
for t in jpg heic avif; do mkdir -p "$work/$t"; done
[ -f "$work/jpg/p.jpg" ] || convert "$photo" -quality 90 "$work/jpg/p.jpg"
[ -f "$work/heic/p.heic" ] || heif-enc -q 85 -t 320 -o "$work/heic/p.heic" "$photo" >/dev/null
[ -f "$work/avif/p.avif" ] || heif-enc -A -q 70 -t 320 -o "$work/avif/p.avif" "$photo" >/dev/null
mkdir -p "$work/dng" "$work/dngthumb" "$work/dngraw"
[ -f "$work/dng/p.dng" ] || python3 "$here/../tests/picture/make-dng.py" "$work/dng/p.dng" \
    --size 6000x4000 --preview "$work/jpg/p.jpg"
# As converters write them: a 256-pixel thumbnail in the first directory besides the preview.
[ -f "$work/thumb.ppm" ] || convert "$photo" -resize '256x171!' "$work/thumb.ppm"
[ -f "$work/dngthumb/p.dng" ] || python3 "$here/../tests/picture/make-dng.py" \
    "$work/dngthumb/p.dng" --size 6000x4000 --preview "$work/jpg/p.jpg" \
    --thumbnail "$work/thumb.ppm"
[ -f "$work/dngraw/p.dng" ] || python3 "$here/../tests/picture/make-dng.py" \
    "$work/dngraw/p.dng" --size 6000x4000

display=:71
Xvfb $display -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 2
DISPLAY=$display openbox >/dev/null 2>&1 &
wm=$!
sleep 2
trap 'kill $wm $xvfb 2>/dev/null' EXIT
for t in jpg heic avif dng dngthumb dngraw; do
    for i in $(seq "$runs"); do
        home="$work/home-$t"
        rm -rf "$home"; mkdir -p "$home/.config/Ostlewin"
        # Every type listed, fit to window, the same window every time.
        printf '[Config]\nFilterFlags=32767\nFitPicToWindow=1\nWindowX1=0\nWindowY1=0\nWindowX2=1279\nWindowY2=899\n' \
            > "$home/.config/Ostlewin/Vantrel.conf"
        f=$(ls "$work/$t"/p.*)
        DISPLAY=$display HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_STATE_HOME="$home/state" \
            XDG_DATA_HOME="$home/data" \
            /usr/bin/python3 "$here/first-sight.py" -- "$build/app/vantrel" --no-splash "$f" |
            sed "s/^/$t /"
    done
done
