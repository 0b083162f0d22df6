#!/bin/sh
# Makes 1,536-pixel photographs from the wallpaper package's photographs and runs
# vantrel-bench-sortby on 10,000 copies of them, each with a date taken of its own.
# The date is read from at most the first 128 KB of a file, so larger photographs read
# the same bytes. Usage: bench/sortby-bench.sh [BUILD_DIR] [WORK_DIR] [N]
set -eu
build=$(cd "${1:-build/release}" && pwd)
work=${2:-/tmp/vantrel-sortby-bench}
"$(dirname "$0")/make-photos.sh" "$work/photos" '1536x'
export VANTREL_DECODER="${VANTREL_DECODER:-$build/app/vantrel-decoder}"
"$build/bench/vantrel-bench-sortby" "$work/photos" "${3:-10000}"
