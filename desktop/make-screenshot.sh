#!/usr/bin/env bash
# Takes a screenshot of the main window for the metainfo: the program on a private X server
# (Xvfb, 1280x900) under openbox, a folder of three pictures open on its first picture, in
# the language of the locale given.
#   desktop/make-screenshot.sh PROGRAM OUT.png [LOCALE]     e.g. ... shot.png de_DE.UTF-8
set -euo pipefail
app=$(realpath "$1")
out=$2
locale=${3:-en_US.UTF-8}
tmp=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-shot.XXXXXX")
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

trip=$tmp/home/Bilder/Reise
mkdir -p "$trip" "$tmp/config" "$tmp/data" "$tmp/state" "$tmp/cache"
mkdir -m 700 "$tmp/runtime"
convert -size 1600x1067 gradient:'#4f93e0'-'#cfe6fa' \
  -fill '#3f9a4a' -draw 'polygon 0,1067 0,700 500,420 900,760 1250,560 1600,800 1600,1067' \
  -fill '#ffd54a' -draw 'circle 1250,230 1250,320' "$trip/Berge.jpg"
convert -size 1600x1067 gradient:'#f6b26b'-'#7f3f1f' "$trip/Abendrot.jpg"
convert -size 1067x1600 gradient:'#e6f2e6'-'#2f6f3f' "$trip/Wald.jpg"

exec 9<> "$tmp/display"
Xvfb -displayfd 9 -nolisten tcp -screen 0 1280x900x24 >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$tmp/display")
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data XDG_STATE_HOME=$tmp/state \
  XDG_CACHE_HOME=$tmp/cache XDG_RUNTIME_DIR=$tmp/runtime LANG=$locale LC_ALL= LANGUAGE= \
  QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0 "$app" --no-splash "$trip/Berge.jpg" \
  >"$tmp/app.log" 2>&1 &
pids+=($!)
# The window maximised by the window manager, then time for the picture to be painted.
for _ in $(seq 100); do
  xdotool search --class vantrel >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool search --class vantrel | while read -r win; do wmctrl -i -r "$win" -b add,maximized_vert,maximized_horz 2>/dev/null || xdotool windowsize "$win" 1280 870 2>/dev/null || true; done
sleep 4
import -window root "$out"
echo "$out"
