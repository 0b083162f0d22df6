#!/usr/bin/env bash
# Installs what is missing, builds everything under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test on Qt's offscreen platform. The code
# style is checked first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan "$@"
