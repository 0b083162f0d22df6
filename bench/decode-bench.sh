#!/usr/bin/env bash
# Decode benchmark: a 6000x4000 JPEG fitted into a 1280x900 view, decoded through the
# imaging control's pipeline (vantrel-decode --fit), beside libjpeg-turbo's own
# `djpeg -scale 1/4` on the same file. The two take turns, round by round, so a machine
# busy with other work slows both alike. Prints the medians and ends with
# `decode ratio <ours / djpeg>` (the median of the rounds' ratios; target: within 1.2).
#
#   bench/decode-bench.sh [BUILD_DIR] [ROUNDS]     (defaults: build/release, 9)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
rounds=${2:-9}
per_round=5
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

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

djpeg -scale 1/4 -outfile /dev/null "$photo" # warm the file cache
ours=() theirs=() ratios=()
for ((r = 0; r < rounds; r++)); do
  line=$("$tool" --fit 1280x900 --repeat "$per_round" "$photo")
  ms=$(printf '%s\n' "$line" | awk -F'\t' '{ split($5, a, " "); print a[1] }')
  times=()
  for ((i = 0; i < per_round; i++)); do
    start=$(date +%s%N)
    djpeg -scale 1/4 -outfile /dev/null "$photo"
    end=$(date +%s%N)
    times+=("$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e6 }')")
  done
  dj=$(printf '%s\n' "${times[@]}" | median)
  ours+=("$ms") theirs+=("$dj")
  ratios+=("$(awk -v a="$ms" -v b="$dj" 'BEGIN { printf "%.4f", a / b }')")
done

echo "picture: $(printf '%s\n' "$line" | cut -f2-4)"
echo "vantrel-decode --fit 1280x900: $(printf '%s\n' "${ours[@]}" | median | xargs printf '%.1f') ms" \
  "(median of $rounds rounds of $per_round, in process)"
echo "djpeg -scale 1/4: $(printf '%s\n' "${theirs[@]}" | median | xargs printf '%.1f') ms" \
  "(median of $rounds rounds of $per_round, whole process)"
printf 'decode ratio %.2f\n' "$(printf '%s\n' "${ratios[@]}" | median)"
