#!/usr/bin/env bash
# Fails when a tracked C++ source is not formatted as .clang-format says; prints the places.
# `scripts/check-format.sh --fix` formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${sources[@]}"
  exit 0
fi
if ! clang-format --dry-run -Werror "${sources[@]}"; then
  echo "Some sources are not formatted; scripts/check-format.sh --fix formats them." >&2
  exit 1
fi
