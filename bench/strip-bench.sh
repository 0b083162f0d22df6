#!/bin/sh
# Makes camera-size photographs from the wallpaper package's photographs (as view-bench.sh
# does) and runs vantrel-bench-strip on 2,000 of them. Usage:
# bench/strip-bench.sh [BUILD_DIR] [WORK_DIR] [N]
set -eu
build=$(cd "${1:-build/release}" && pwd)
work=${2:-/tmp/vantrel-view-bench}
"$(dirname "$0")/make-photos.sh" "$work/photos"
export VANTREL_DECODER="${VANTREL_DECODER:-$build/app/vantrel-decoder}"
"$build/bench/vantrel-bench-strip" "$work/photos" "${3:-2000}"
