#!/usr/bin/env bash
# Time to decode a 600x400 PCX through the sandboxed decoder helper, as the view does when
# fitting it into a 1280x900 control (vantrel-decode --fit): the helper's start inside the
# sandbox, the decode and the pixels' way back. Prints the median and the 90th percentile
# of ROUNDS decodes and ends with `helper decode <median> ms` (target: under 50 ms).
#
#   bench/helper-bench.sh [BUILD_DIR] [ROUNDS]     (defaults: build/release, 41)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
rounds=${2:-41}
tool="$build/bench/vantrel-decode"
[ -x "$tool" ] || { echo "build $tool first (cmake --build --preset release)" >&2; exit 2; }

work="$build/bench/helper-bench"
mkdir -p "$work"
pcx="$work/photo-600x400.pcx"
[ -s "$pcx" ] || /usr/bin/convert -size 600x400 -seed 7 plasma:fractal "$pcx"

line=$("$tool" --fit 1280x900 --repeat "$rounds" "$pcx")
echo "$line"
median=$(printf '%s\n' "$line" | awk -F'\t' '{ split($5, a, " "); print a[1] }')
echo "helper decode $median ms (median of $rounds, the first pays the sandbox probe)"
