#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) on the C++ sources changed since a revision (default: the
# branch point from main), or on every source with --all. Needs the asan build's
# compile_commands.json (cmake --preset asan). Fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/asan
[ -f "$build/compile_commands.json" ] || cmake --preset asan >/dev/null
if [ "${1:-}" = "--all" ]; then
  mapfile -t files < <(git ls-files '*.cpp')
else
  base=$(git merge-base "${1:-main}" HEAD)
  mapfile -t files < <(git diff --name-only --diff-filter=d "$base" -- '*.cpp'; git ls-files -m -o --exclude-standard '*.cpp')
fi
[ ${#files[@]} -eq 0 ] && { echo "no changed sources"; exit 0; }
printf '%s\n' "${files[@]}" | sort -u | xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet
