#!/usr/bin/env bash
# The window on a network share: a delaying FUSE passthrough of our own (bench/delayfs.c)
# waits 2 or 20 ms on every metadata call, as a round trip to a server would, over a folder
# of 320 camera-size JPEGs (50 with an .xmp sidecar, 20 with a RAW twin). The real window
# is driven on a private Xvfb with openbox (bench/share-bench.py, on x11lat): start to the
# first picture, Down to the next picture, key 1 (a move onto the same share) to the next
# picture, Ctrl+Z (the sorts undone one by one) to the picture back, each with the window's
# longest freeze (a _NET_WM_PING every 10 ms), then F5 (REFRESHES times, default 10). The
# same on local disk for comparison. Prints medians and 90th percentiles.
#
#   bench/share-bench.sh [BUILD_DIR] [STEPS] [STARTS] [DELAYS]
#   (defaults: build/release, 30, 5, "0 2 20"; a delay of 0 is the local disk, no mount)
#
# With PACED=N (and PACED_DELAYS, default "20"), N sorting keys at a steady 3 a second go
# to a folder of N+100 pictures (hard links to the same photographs, with sidecars and DNG
# twins as above), then the window is closed with Alt+F4: the freeze during the keys, the
# time the queue took to drain after the last key and to close, and a check of the journal
# against the disk (every action done or failed, none left open, every file where the
# journal says).
#
# Needs root or a user allowed to mount FUSE file systems (/dev/fuse); installs fuse3 and
# libfuse3-dev with apt-get when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
here=$(pwd)/bench
export X11LAT_DIR=${X11LAT_DIR:-$(cd .. && pwd)/shared/tools/x11lat} # the meter, beside the project
build=$(cd "${1:-build/release}" && pwd)
steps=${2:-30}
starts=${3:-5}
delays=${4:-0 2 20}
[ -x "$build/app/vantrel" ] || { echo "build $build/app/vantrel first" >&2; exit 2; }
[ -e /dev/fuse ] || { echo "no /dev/fuse: FUSE cannot be mounted here" >&2; exit 77; }
if ! command -v fusermount3 >/dev/null || ! pkg-config --exists fuse3; then
    apt-get install -y fuse3 libfuse3-dev >/dev/null
fi
for tool in Xvfb openbox xdotool convert cc; do
    command -v "$tool" >/dev/null || { echo "$tool missing" >&2; exit 2; }
done

data="$build/bench/share-data"
mkdir -p "$data"
cc -O2 -Wall -Wextra -Werror "$here/delayfs.c" $(pkg-config --cflags --libs fuse3) \
    -o "$data/delayfs"

# The photographs: eight 6000 x 4000 quality-90 JPEGs from the wallpaper package, copied to
# 320 names; every sixth with an .xmp sidecar, every sixteenth with a DNG twin.
photos="$data/photos"
if [ ! -s "$photos/DSC_0320.jpg" ]; then
    mkdir -p "$data/base" "$photos"
    n=0
    for name in Autumn BytheWater ColdRipple ColorfulCups DarkestHour EveningGlow Kite Path; do
        n=$((n + 1))
        [ -s "$data/base/$n.jpg" ] || convert \
            "/usr/share/wallpapers/$name/contents/images/2560x1600.jpg" \
            -resize '6000x4000!' -quality 90 "$data/base/$n.jpg"
    done
    [ -s "$data/base/raw.dng" ] || python3 "$here/../tests/picture/make-dng.py" \
        "$data/base/raw.dng" --size 600x400
    for i in $(seq 320); do
        f=$(printf 'DSC_%04d' "$i")
        cp "$data/base/$(((i - 1) % 8 + 1)).jpg" "$photos/$f.jpg"
        [ $(((i - 1) % 6)) -eq 0 ] && [ "$i" -le 300 ] &&
            printf '<x:xmpmeta xmlns:x="adobe:ns:meta/"/>\n' >"$photos/$f.xmp"
        [ $(((i - 1) % 16)) -eq 0 ] && cp "$data/base/raw.dng" "$photos/$f.dng"
    done
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-share.XXXXXX")
xvfb='' wm='' app='' mnt=''
unmount() { # the program's helpers may hold the mount a moment after it ended
    for _ in $(seq 50); do fusermount3 -u "$1" 2>/dev/null && return; sleep 0.2; done
    fusermount3 -uz "$1"
}
cleanup() {
    kill $app $wm $xvfb 2>/dev/null || true
    [ -n "$mnt" ] && unmount "$mnt"
    # Pictures sorted during the run go back where they were.
    [ -d "$data/share/Sorted" ] && find "$data/share/Sorted" -type f -exec mv -n -t "$data/share/Pics" {} +
    rm -rf "$work"
}
trap cleanup EXIT
. "$here/x-session.sh"
x_session "$work"

# The share's folder: Pics (listed) and Sorted (destination 1), on one file system.
share="$data/share"
mkdir -p "$share/Pics" "$share/Sorted"
find "$share/Sorted" -type f -exec mv -n -t "$share/Pics" {} +
[ -s "$share/Pics/DSC_0320.jpg" ] || cp -n "$photos"/* "$share/Pics/"
if [ "${PACED:-0}" -gt 0 ]; then # hard links: a thousand pictures take no room
    mkdir -p "$share/Paced" "$share/PacedSorted"
    find "$share/PacedSorted" -type f -exec mv -n -t "$share/Paced" {} +
    for i in $(seq $((PACED + 100))); do
        f=$(printf 'P_%05d' "$i")
        [ -e "$share/Paced/$f.jpg" ] || ln "$data/base/$(((i - 1) % 8 + 1)).jpg" "$share/Paced/$f.jpg"
        [ $(((i - 1) % 6)) -eq 0 ] && [ ! -e "$share/Paced/$f.xmp" ] &&
            printf '<x:xmpmeta xmlns:x="adobe:ns:meta/"/>\n' >"$share/Paced/$f.xmp"
        [ $(((i - 1) % 16)) -eq 0 ] && [ ! -e "$share/Paced/$f.dng" ] &&
            ln "$data/base/raw.dng" "$share/Paced/$f.dng"
    done
fi

settings() { # settings ROOT [FOLDER DEST]: a fresh private home listing ROOT/FOLDER (Pics)
    # whose destination 1 is ROOT/DEST (Sorted)
    local folder=${2:-Pics} dest=${3:-Sorted}
    rm -rf "$work/home"
    mkdir -p "$work/home/config/Ostlewin"
    { window_config; cat; } >"$work/home/config/Ostlewin/Vantrel.conf" <<EOF
[TargetSet01]
HomeDirectory=$1/$folder
Target01Name=$dest
Target01Dir=$1/$dest
EOF
}
run_app() { # run_app ROOT COMMAND...: the program with the private home, on ROOT/Pics
    # (ROOT/$APP_FOLDER). Only in a subshell (with & or in a pipeline): it becomes the command,
    # so that $! is the program's own pid and a kill reaches it.
    local root=$1
    shift
    HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" \
        XDG_STATE_HOME="$work/home/state" XDG_CACHE_HOME="$work/home/cache" \
        VANTREL_DECODER="$build/app/vantrel-decoder" exec "$@" "$root/${APP_FOLDER:-Pics}"
}
stats() { # stats LABEL FIELD: median and 90th percentile of FIELD over the JSON lines on stdin
    python3 -c '
import json, statistics, sys
label, field = sys.argv[1], sys.argv[2]
v = sorted(x for x in (json.loads(l).get(field) for l in sys.stdin if l.strip()) if x is not None)
if not v:
    sys.exit(print(f"{label}: no figures"))
p90 = v[min(len(v) - 1, int(round(0.9 * (len(v) - 1))))]
print(f"{label}: median {statistics.median(v):.0f} ms, p90 {p90:.0f} ms, n={len(v)}")
' "$1" "$2"
}

steps_on() { # steps_on ROOT DELAY: Down, then key 1, STEPS times each in one window
    local root=$1 delay=$2
    settings "$root"
    run_app "$root" "$build/app/vantrel" --no-splash >"$work/app.log" 2>&1 &
    app=$!
    win=$(/usr/bin/python3 "$X11LAT_DIR/x11lat.py" wait-window --pid "$app")
    xdotool windowactivate --sync "$win"
    sleep 3 # the first picture and its neighbours decoded
    /usr/bin/python3 "$here/share-bench.py" steps --window "$win" --seq "Down*$steps" \
        --tag "$delay" >"$work/down.jsonl"
    stats "Down to the next picture" picture_ms <"$work/down.jsonl"
    stats "Down to the last drawing" last_ms <"$work/down.jsonl"
    stats "window frozen during Down" freeze_ms <"$work/down.jsonl"
    /usr/bin/python3 "$here/share-bench.py" steps --window "$win" --seq "1*$steps" \
        --tag "$delay" >"$work/sort.jsonl"
    stats "key 1 (sort) to the next picture" picture_ms <"$work/sort.jsonl"
    stats "key 1 to the last drawing (the notification)" last_ms <"$work/sort.jsonl"
    stats "window frozen during key 1" freeze_ms <"$work/sort.jsonl"
    echo "sorted: $(ls "$share/Sorted" | wc -l) files in Sorted; last title: $(tail -n 1 "$work/sort.jsonl" | python3 -c 'import json,sys; print(json.load(sys.stdin)["title"])')"
    /usr/bin/python3 "$here/share-bench.py" steps --window "$win" --seq "ctrl+z*$steps" \
        --tag "$delay" >"$work/undo.jsonl"
    stats "Ctrl+Z (undo of a sort) to the picture back" picture_ms <"$work/undo.jsonl"
    stats "Ctrl+Z to the last drawing (the notification)" last_ms <"$work/undo.jsonl"
    stats "window frozen during Ctrl+Z" freeze_ms <"$work/undo.jsonl"
    echo "after the undos: $(ls "$share/Sorted" | wc -l) files in Sorted"
    # F5 last: the folder is listed again, and no picture is current after it.
    /usr/bin/python3 "$here/share-bench.py" steps --window "$win" --seq "F5*${REFRESHES:-10}" \
        --tag "$delay" >"$work/refresh.jsonl"
    stats "F5 to the last drawing" last_ms <"$work/refresh.jsonl"
    stats "window frozen during F5" freeze_ms <"$work/refresh.jsonl"
    kill "$app"
    wait "$app" 2>/dev/null || true
    app=''
}

paced_on() { # paced_on ROOT DELAY: PACED keys at 3 a second, then close and check
    local root=$1 delay=$2 t0 t1
    settings "$root" Paced PacedSorted
    APP_FOLDER=Paced run_app "$root" "$build/app/vantrel" --no-splash >"$work/app.log" 2>&1 &
    app=$!
    win=$(/usr/bin/python3 "$X11LAT_DIR/x11lat.py" wait-window --pid "$app")
    xdotool windowactivate --sync "$win"
    sleep 3
    /usr/bin/python3 "$here/share-bench.py" paced --window "$win" --key 1 --count "$PACED" \
        --every-ms 333.3 --quiet-ms 2000 --timeout-ms 600000 --tag "$delay" >"$work/paced.jsonl"
    grep -v drain_ms "$work/paced.jsonl" | stats "window frozen between paced keys" freeze_ms
    grep drain_ms "$work/paced.jsonl"
    t0=$(date +%s%N)
    xdotool windowactivate --sync "$win" key alt+F4
    while kill -0 "$app" 2>/dev/null; do sleep 0.05; done
    t1=$(date +%s%N)
    echo "closed $(((t1 - t0) / 1000000)) ms after Alt+F4"
    app=''
    python3 "$here/share-bench-journal.py" "$work/home/state/Ostlewin/Vantrel/sort-journal" \
        "$PACED"
}

for delay in $delays; do
    if [ "$delay" = 0 ]; then
        root=$share label="local disk"
    else
        mnt="$work/mnt"
        mkdir -p "$mnt"
        "$data/delayfs" "$mnt" --source="$share" --delay-ms="$delay"
        root=$mnt label="$delay ms share"
    fi
    echo "== $label (load $(cut -d' ' -f1-3 /proc/loadavg); 6000x4000 JPEGs, page cache warm)"
    : >"$work/start.jsonl"
    for _ in $(seq "$starts"); do
        settings "$root"
        sleep 2 # the share's attribute cache expires, as after a while away
        run_app "$root" /usr/bin/python3 "$here/share-bench.py" startup --tag "$delay" -- \
            "$build/app/vantrel" --no-splash | tee -a "$work/start.jsonl" >"$work/last.json"
        pid=$(python3 -c 'import json,sys; print(json.load(sys.stdin)["pid"])' <"$work/last.json")
        kill "$pid"
        while kill -0 "$pid" 2>/dev/null; do sleep 0.1; done # gone before the next start
        sleep 1
    done
    stats "start to first picture" picture_ms <"$work/start.jsonl"
    stats "start to the window mapped" mapped_ms <"$work/start.jsonl"
    stats "window frozen during start (once mapped)" freeze_ms <"$work/start.jsonl"

    [ "$steps" -gt 0 ] && steps_on "$root" "$delay"
    if [ "${PACED:-0}" -gt 0 ] && [[ " ${PACED_DELAYS:-20} " == *" $delay "* ]]; then
        paced_on "$root" "$delay"
    fi
    if [ -n "${SHARE_KEEP:-}" ]; then
        mkdir -p "$SHARE_KEEP/$delay" && cp "$work"/*.jsonl "$SHARE_KEEP/$delay/"
    fi
    if [ -n "$mnt" ]; then unmount "$mnt"; mnt=''; fi
    find "$share/Sorted" -type f -exec mv -n -t "$share/Pics" {} +
    if [ -d "$share/PacedSorted" ]; then
        find "$share/PacedSorted" -type f -exec mv -n -t "$share/Paced" {} +
    fi
done
