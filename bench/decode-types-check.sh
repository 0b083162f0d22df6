#!/usr/bin/env bash
# Checks that vantrel-decode reads every picture type added after the original thirteen:
# WebP (still and animated), HEIC, AVIF and camera RAW (with a preview, turned, and with
# none). The files are made here from the committed fixtures; each must decode to its
# upright size and its own format code. Run by ctest; exit 77 (skipped) when a tool that
# makes the files is missing.
#
#   bench/decode-types-check.sh VANTREL_DECODE
set -euo pipefail
tool=$1
source=$(cd "$(dirname "$0")/.." && pwd)
fixtures="$source/tests/picture/fixtures"
for need in convert heif-enc python3; do
  command -v "$need" >/dev/null || { echo "SKIP: $need missing" >&2; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert "$fixtures/png.png" "webp:$work/still.webp"
convert -delay 10 "$fixtures/png.png" "$fixtures/bmp.bmp" "webp:$work/moving.webp"
heif-enc -q 90 -o "$work/photo.heic" "$fixtures/png.png" >/dev/null
heif-enc -A -q 90 -o "$work/photo.avif" "$fixtures/png.png" >/dev/null
make_dng="$source/tests/picture/make-dng.py"
python3 "$make_dng" "$work/preview.dng" --size 48x32 --preview "$fixtures/jpg.jpg"
python3 "$make_dng" "$work/turned.NEF" --size 48x32 --preview "$fixtures/jpg.jpg" --orientation 6
python3 "$make_dng" "$work/bare.dng" --size 48x32

# file, then "size<TAB>depth<TAB>format" as vantrel-decode prints them
expected=(
  "still.webp	24x16	24 bpp	format 80"
  "moving.webp	24x16	24 bpp	format 80"
  "photo.heic	24x16	24 bpp	format 81"
  "photo.avif	24x16	24 bpp	format 82"
  "preview.dng	48x32	24 bpp	format 83"
  "turned.NEF	32x48	24 bpp	format 83"
  "bare.dng	48x32	24 bpp	format 83"
)
files=()
for line in "${expected[@]}"; do files+=("$work/${line%%	*}"); done
output=$("$tool" --fit 1280x900 "${files[@]}") || true
failed=0
for line in "${expected[@]}"; do
  name=${line%%	*}
  want=${line#*	}
  got=$(printf '%s\n' "$output" | grep -F "$work/$name	" | cut -f2-4 || true)
  if [ "$got" != "$want" ]; then
    echo "FAIL $name: wanted '$want', got '${got:-$(printf '%s\n' "$output" | grep -F "$name")}'"
    failed=1
  else
    echo "ok   $name: $got"
  fi
done
exit $failed
