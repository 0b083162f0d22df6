#!/usr/bin/env bash
# Decode benchmark: a 6000x4000 JPEG fitted into a 1280x900 view, decoded through the
# imaging control's pipeline (vantrel-decode --fit), beside libjpeg-turbo's own
# `djpeg -scale 1/4` on the same file. Prints both medians and ends with
# `decode ratio <ours / djpeg>` (target: within 1.2).
#
#   bench/decode-bench.sh [BUILD_DIR] [RUNS]     (defaults: build/release, 15)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-15}
tool="$build/bench/vantrel-decode"
[ -x "$tool" ] || { echo "build $tool first (cmake --build --preset release)" >&2; exit 2; }
command -v djpeg >/dev/null || { echo "djpeg missing (package libjpeg-turbo-progs)" >&2; exit 2; }

work="$build/bench/decode-bench"
mkdir -p "$work"
photo="$work/photo-6000x4000.jpg"
if [ ! -s "$photo" ]; then
  # A photo-like picture: smooth shapes with fine grain, 4:2:0 at quality 90, as cameras write.
  /usr/bin/convert -size 1500x1000 -seed 7 plasma:fractal -resize '6000x4000!' \
    -attenuate 0.5 +noise Gaussian -quality 90 -sampling-factor 2x2 "$photo"
fi

ours_line=$("$tool" --fit 1280x900 --repeat "$runs" "$photo")
ours_ms=$(printf '%s\n' "$ours_line" | awk -F'\t' '{ split($5, a, " "); print a[1] }')

djpeg -scale 1/4 -outfile /dev/null "$photo" # warm the file cache
times=()
for ((i = 0; i < runs; i++)); do
  start=$(date +%s%N)
  djpeg -scale 1/4 -outfile /dev/null "$photo"
  end=$(date +%s%N)
  times+=("$(( (end - start) / 1000 ))")
done
djpeg_ms=$(printf '%s\n' "${times[@]}" | sort -n |
  awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.1f", m / 1000 }')

echo "picture: $(printf '%s\n' "$ours_line" | cut -f2-4)"
echo "vantrel-decode --fit 1280x900: $ours_ms ms (median of $runs, in process)"
echo "djpeg -scale 1/4: $djpeg_ms ms (median of $runs, whole process)"
awk -v a="$ours_ms" -v b="$djpeg_ms" 'BEGIN { printf "decode ratio %.2f\n", a / b }'
