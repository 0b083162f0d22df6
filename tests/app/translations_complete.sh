#!/usr/bin/env bash
# Every translation is complete and up to date with the sources: lupdate, run on a copy of
# each .ts file with the project's own settings, finds no new text, leaves no entry
# unfinished and changes nothing (a text removed from the sources is gone from the file too).
#   translations_complete.sh LUPDATE GENERATE_SCRIPT PROJECT_CMAKE TS_FILE...
set -uo pipefail
lupdate=$1
generate=$2
project=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake -DIN_FILE="$project" -DOUT_FILE="$work/project.json" -P "$generate" ||
  { echo "FAIL: the lupdate project could not be written"; exit 1; }
for ts in "$@"; do
  name=$(basename "$ts")
  cp "$ts" "$work/$name"
  "$lupdate" -project "$work/project.json" -no-obsolete -locations none -ts "$work/$name" \
    >"$work/lupdate.log" 2>&1 || { cat "$work/lupdate.log"; fail "lupdate on $name"; continue; }
  unfinished=$(grep -c 'type="unfinished"' "$work/$name")
  if [ "$unfinished" -ne 0 ]; then
    fail "$name: $unfinished entries unfinished (run the update_translations target and translate them):"
    grep -B2 'type="unfinished"' "$work/$name" | grep '<source>' | head -50
  fi
  if ! cmp -s "$ts" "$work/$name"; then
    fail "$name is not up to date with the sources:"
    diff -u "$ts" "$work/$name" | head -60
  fi
done
[ "$failures" -eq 0 ] && echo "translations complete: $*"
exit $((failures > 0))
