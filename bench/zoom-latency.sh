#!/usr/bin/env bash
# Key to picture on screen for zooming, measured from outside the program with x11lat
# (../shared/tools/x11lat, or X11LAT=path/to/x11lat.py) on a private Xvfb with openbox:
#   - Z (100 %) on a fitted 24-megapixel camera-size JPEG, then Space back to fit, ROUNDS
#     times: the first drawing (the fitted pixels enlarged) and the last (the sharp picture);
#   - Down through the photographs at a fixed 100 % zoom, each decoded ahead meanwhile, and
#     back up fitted for comparison;
#   - beside them, a full-size decode of the same JPEG (vantrel-decode --repeat).
# The photographs are made from the wallpaper package's photographs (plasma-workspace-
# wallpapers). Prints the median and 90th percentile of each.
#
#   bench/zoom-latency.sh [BUILD_DIR] [ROUNDS]     (defaults: build/release, 15)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build/release}" && pwd)
rounds=${2:-15}
x11lat=${X11LAT:-$(cd .. && pwd)/shared/tools/x11lat/x11lat.py}
[ -r "$x11lat" ] || x11lat=/work/shared/tools/x11lat/x11lat.py
for tool in Xvfb openbox xdotool convert; do
    command -v "$tool" >/dev/null || { echo "$tool missing" >&2; exit 2; }
done
[ -x "$build/app/vantrel" ] || { echo "build $build/app/vantrel first" >&2; exit 2; }
work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-zoom.XXXXXX")
photos="$build/bench/zoom-photos"
mkdir -p "$photos"
n=0
for name in Autumn BytheWater ColdRipple ColorfulCups DarkestHour EveningGlow Kite Path; do
    n=$((n + 1))
    out="$photos/$(printf %02d $n)-$name.jpg"
    [ -s "$out" ] || convert "/usr/share/wallpapers/$name/contents/images/2560x1600.jpg" \
        -resize '6000x4000!' -quality 90 "$out"
done
first=$(ls "$photos"/*.jpg | head -n 1)

xvfb='' app='' wm=''
trap 'kill $app $wm $xvfb 2>/dev/null; rm -rf "$work"' EXIT
. bench/x-session.sh
x_session "$work"
mkdir -p "$work/config/Ostlewin"
{ window_config; cat; } >"$work/config/Ostlewin/Vantrel.conf" <<EOF
[TargetSet01]
HomeDirectory=$photos
EOF
HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
    XDG_STATE_HOME="$work/state" XDG_CACHE_HOME="$work/cache" \
    VANTREL_DECODER="$build/app/vantrel-decoder" \
    "$build/app/vantrel" --no-splash "$first" >"${ZOOM_LOG:-$work/app.log}" 2>&1 & app=$!
win=$(/usr/bin/python3 "$x11lat" wait-window --pid "$app")
xdotool windowactivate --sync "$win"
sleep 3 # the first picture and its neighbours decoded

steps() { /usr/bin/python3 "$x11lat" steps --window "$win" --ping --park 1279,1023 "$@"; }
seq_of() { local s='' i; for i in $(seq "$2"); do s="$s${s:+,}$1"; done; echo "$s"; }
stats() { # stats LABEL FIELD: median and 90th percentile of FIELD over the JSON lines on stdin
    python3 -c '
import json, statistics, sys
label, field = sys.argv[1], sys.argv[2]
got = [json.loads(l).get(field) for l in sys.stdin if l.strip()]
v = sorted(x for x in got if x is not None)
if not v:
    sys.exit(print(f"{label}: nothing drawn in {len(got)} steps"))
p90 = v[min(len(v) - 1, int(round(0.9 * (len(v) - 1))))]
missed = f", {len(got) - len(v)} without drawing" if len(got) > len(v) else ""
print(f"{label}: median {statistics.median(v):.0f} ms, 90th percentile {p90:.0f} ms, n={len(v)}{missed}")
' "$1" "$2"
}
echo "load: $(cut -d' ' -f1-3 /proc/loadavg); photos 6000x4000 JPEG, page cache warm"
steps --seq "$(seq_of z,space "$rounds")" >"$work/zoom.jsonl"
awk 'NR % 2 == 1' "$work/zoom.jsonl" >"$work/z.jsonl"
stats "Z to 100 %, first drawing (enlarged)" first_ms <"$work/z.jsonl"
stats "Z to 100 %, sharp picture (last drawing)" last_ms <"$work/z.jsonl"
stats "Z to 100 %, window answering (ping)" pong_ms <"$work/z.jsonl"
steps --seq z >/dev/null
steps --seq "$(seq_of Down $((n - 1)))" >"$work/down.jsonl"
stats "Down at 100 %, decoded ahead (last drawing)" last_ms <"$work/down.jsonl"
steps --seq space >/dev/null # fitted again, for comparison
steps --seq "$(seq_of Up $((n - 1)))" >"$work/up.jsonl"
stats "Up fitted, decoded ahead (last drawing)" last_ms <"$work/up.jsonl"
[ -n "${ZOOM_KEEP:-}" ] && cp "$work"/*.jsonl "$ZOOM_KEEP/"
if [ -x "$build/bench/vantrel-decode" ]; then
    echo "full-size decode of the same JPEG:"
    VANTREL_DECODER="$build/app/vantrel-decoder" "$build/bench/vantrel-decode" \
        --repeat "$rounds" "$first"
    echo "the same, five steps nicer, as the program's decoding threads run:"
    VANTREL_DECODER="$build/app/vantrel-decoder" nice -n 5 "$build/bench/vantrel-decode" \
        --repeat "$rounds" "$first"
fi
