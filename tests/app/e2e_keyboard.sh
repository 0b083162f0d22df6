#!/usr/bin/env bash
# Sorts a folder of pictures with the keyboard alone, on a private X server with a window
# manager: Tab into the file list, Down, the destination keys 1, 2 and Ctrl+1, Delete,
# Alt+2 then 1. Then a destination is set up in place: a click on an unset button opens the
# folder picker, which is worked by keyboard, and its key sends the last picture there.
# Every file must end where it was sent, byte for byte, and the settings must keep the new
# destination.
#
# Usage: e2e_keyboard.sh PATH-TO-VANTREL     Exit status 0 passed, 1 failed, 77 skipped.
# On failure the temporary folder is kept, with a screenshot of every step.
set -uo pipefail

app=${1:?usage: $0 PATH-TO-VANTREL}
for tool in Xvfb xauth xdotool openbox import convert timeout cmp; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/install-deps.sh)"; exit 77; }
done

limit=180 # seconds for the whole run; every wait below is also bounded on its own
deadline=$((SECONDS + limit))
tmp=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-e2e-keys.XXXXXX")
shots=$tmp/screenshots home=$tmp/home
pics=$home/Pictures sorted=$home/Sorted conf=$tmp/config/Ostlewin/Vantrel.conf
xvfb_pid='' wm_pid='' app_pid='' passed=0 step=setup shot_no=0 shot=$shots/current.png kept=''

stop() { # stop PID: TERM, KILL after five seconds
    [ -n "$1" ] && kill -0 "$1" 2>/dev/null || return 0
    kill "$1" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}
cleanup() {
    stop "$app_pid"
    stop "$wm_pid"
    stop "$xvfb_pid"
    if [ "$passed" = 1 ]; then rm -rf "$tmp"; else echo "Kept for inspection: $tmp" >&2; fi
}
fail() {
    echo "FAIL at step '$step': $*" >&2
    [ -n "$xvfb_pid" ] && grab && keep failure && echo "Screenshot: $kept" >&2
    if [ -s "$tmp/app.log" ]; then
        echo "--- program output (last 20 lines) ---" >&2
        tail -n 20 "$tmp/app.log" >&2
    fi
    exit 1
}
trap cleanup EXIT
trap 'fail "interrupted"' INT TERM

# wait_for SECONDS WHAT COMMAND...: polls COMMAND until it succeeds.
wait_for() {
    local end=$((SECONDS + $1)) what=$2
    shift 2
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || fail "$what: not seen within the time allowed"
        [ "$SECONDS" -lt "$deadline" ] || fail "$what: the whole run took over ${limit}s"
        sleep 0.2
    done
}
xdo() { timeout 10 xdotool "$@" || fail "xdotool $* failed"; }
grab() { timeout 10 import -silent -window root "$shot"; }
keep() { # keep NAME: the last screenshot, numbered, for a person to look at
    shot_no=$((shot_no + 1))
    kept=$shots/$(printf %02d "$shot_no")-$1.png
    cp "$shot" "$kept"
}
app_alive() { kill -0 "$app_pid" 2>/dev/null || fail "the program ended by itself"; }
exists() { [ -e "$1" ]; }
caption_is() { app_alive && [ "$(timeout 5 xdotool getwindowname "$win" | sed "s/^ *//")" = "$1" ]; }

# --- the pictures, the destinations and the settings store -----------------------------
mkdir -p "$shots" "$pics" "$sorted/Alpha" "$sorted/Beta" "$sorted/Gamma" "$sorted/Delta" \
    "$sorted/Epsilon" "$tmp/originals" "$tmp/data" "$tmp/cache" "$(dirname "$conf")"
mkdir -m 700 "$tmp/runtime"
n=0
for colour in red green blue yellow cyan magenta; do
    n=$((n + 1))
    name="$n-$colour.jpg"
    convert -size 160x120 "xc:$colour" -fill black -draw "text 10,60 '$n'" "$tmp/originals/$name" ||
        fail "cannot make $name"
    cp "$tmp/originals/$name" "$pics/$name"
done
cat >"$conf" <<EOF
[Config]
WindowX1=0
WindowY1=0
WindowX2=1000
WindowY2=800
SelectionSet=0
MoveFiles=1
UseRecyclingBin=1
FitPicToWindow=0

[TargetSet01]
HomeDirectory=$pics
Target01Name=Alpha
Target01Dir=$sorted/Alpha
Target02Name=Beta
Target02Dir=$sorted/Beta
Target11Name=Gamma
Target11Dir=$sorted/Gamma

[TargetSet02]
HomeDirectory=$sorted
Target01Name=Delta
Target01Dir=$sorted/Delta
EOF

# --- a private X server on a free display, with its own cookie, and a window manager -----
step="start Xvfb and openbox"
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
touch "$tmp/server.auth" "$tmp/Xauthority"
xauth -q -f "$tmp/server.auth" add :0 MIT-MAGIC-COOKIE-1 "$cookie"
Xvfb -displayfd 9 -auth "$tmp/server.auth" -nolisten tcp -screen 0 1280x1024x24 \
    9>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
display_known() {
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb ended: $(tail -n 3 "$tmp/xvfb.log")"
    grep -qs '^[0-9]\+$' "$tmp/display"
}
wait_for 20 "Xvfb's display number" display_known
export DISPLAY=:$(head -n 1 "$tmp/display") XAUTHORITY=$tmp/Xauthority
xauth -q -f "$XAUTHORITY" add "$DISPLAY" MIT-MAGIC-COOKIE-1 "$cookie"
x_answers() { timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1; }
wait_for 20 "a client connection to Xvfb on $DISPLAY" x_answers
env -u DBUS_SESSION_BUS_ADDRESS HOME="$home" XDG_CONFIG_HOME="$tmp/config" \
    openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
wm_pid=$!
wm_running() {
    kill -0 "$wm_pid" 2>/dev/null || fail "openbox ended: $(tail -n 3 "$tmp/openbox.log")"
    timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}
wait_for 20 "openbox managing the display" wm_running

# --- the program ------------------------------------------------------------------------
step="start the program"
env -u DBUS_SESSION_BUS_ADDRESS -u SESSION_MANAGER HOME="$home" XDG_CONFIG_HOME="$tmp/config" \
    XDG_DATA_HOME="$tmp/data" XDG_CACHE_HOME="$tmp/cache" XDG_RUNTIME_DIR="$tmp/runtime" \
    LSAN_OPTIONS="suppressions=$(dirname "$0")/e2e_lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}" \
    QT_QPA_PLATFORM=xcb "$app" --no-splash >"$tmp/app.log" 2>&1 &
app_pid=$!
find_window() {
    app_alive
    win=$(timeout 5 xdotool search --onlyvisible --pid "$app_pid" --name ' - Vantrel$' | head -n 1)
    [ -n "$win" ]
}
wait_for 60 "the main window" find_window
is_active() { app_alive; [ "$(timeout 5 xdotool getactivewindow 2>/dev/null)" = "$win" ]; }
wait_for 20 "the main window active" is_active
sleep 1 # the folder tree takes the keyboard once the list is filled
grab && keep started

# --- sorting with the keyboard alone ------------------------------------------------------
step="Tab into the list, Down"
xdo key Tab
xdo key Down
wait_for 20 "the first picture shown by the first Down" caption_is "1-red.jpg - Vantrel"
grab && keep first-down

step="key 1 (Alpha)"
xdo key 1
wait_for 20 "1-red.jpg moved into Alpha" exists "$sorted/Alpha/1-red.jpg"
wait_for 20 "the next picture shown" caption_is "2-green.jpg - Vantrel"

step="key 2 (Beta)"
xdo key 2
wait_for 20 "2-green.jpg moved into Beta" exists "$sorted/Beta/2-green.jpg"
wait_for 20 "the next picture shown" caption_is "3-blue.jpg - Vantrel"

step="Ctrl+1 (Gamma, destination 11)"
xdo key ctrl+1
wait_for 20 "3-blue.jpg moved into Gamma" exists "$sorted/Gamma/3-blue.jpg"
wait_for 20 "the next picture shown" caption_is "4-yellow.jpg - Vantrel"

step="key 4 (an unset destination: nothing happens)"
xdo key 4
sleep 0.5
caption_is "4-yellow.jpg - Vantrel" || fail "an unset destination's key changed the picture"

step="Delete"
xdo key Delete
wait_for 20 "4-yellow.jpg in the trash" exists "$tmp/data/Trash/files/4-yellow.jpg"
wait_for 20 "the next picture shown" caption_is "5-cyan.jpg - Vantrel"

step="Alt+2, then key 1 (Delta in the second group)"
xdo key alt+2
xdo key 1
wait_for 20 "5-cyan.jpg moved into Delta" exists "$sorted/Delta/5-cyan.jpg"
wait_for 20 "the next picture shown" caption_is "6-magenta.jpg - Vantrel"
grab && keep sorted-by-keys

# --- a destination set up in place ------------------------------------------------------
step="click the unset destination 3, pick Epsilon in the picker by keyboard"
eval "$(timeout 10 xdotool getwindowgeometry --shell "$win")" || fail "no geometry for $win"
# The panes' top and height are found by fitting the destination bar's layout to the
# horizontal edges seen in one pixel column near the window's right edge: Delete at the top,
# twenty equal destination buttons centred below it, Home at the bottom.
fit_right_pane() {
    app_alive
    grab || return 1
    read -r top cy score < <(convert "$shot" -crop "1x$HEIGHT+$((X + WIDTH - 10))+$Y" \
        +repage -colorspace Gray -depth 8 txt:- | awk -v H="$HEIGHT" '
        NR > 1 { split($1, p, /[,:]/); split($2, v, /[(,]/); if (v[2] < 208) edge[p[2] + 0] = 1 }
        function hit(y) { return (y in edge) ? 2 : ((y - 1) in edge || (y + 1) in edge) ? 1 : 0 }
        END {
            best = -1
            for (t = 0; t <= 250; t++) for (c = int(H / 2); t + c <= H; c++) {
                d = int((c - 20) / 23); e = int(d * 1.5); y0 = e + int((c - 2 * e - 20 * d - 20) / 2) + 20
                s = hit(t + 20) + hit(t + 19 + e) + hit(t + y0 + 20 * d - 1) + hit(t + c - e) + hit(t + c - 1)
                for (k = 0; k < 20; k++) s += hit(t + y0 + k * d)
                if (s > best) { best = s; bt = t; bc = c }
            }
            print bt, bc, best
        }')
    [ "${score:-0}" -ge 40 ] # of 50: every edge found, give or take a pixel
}
wait_for 30 "the destination bar's buttons in the screenshot" fit_right_pane
d=$(((cy - 20) / 23)) e=$(((cy - 20) / 23 * 3 / 2))
first_button=$((e + (cy - 2 * e - 20 * d - 20) / 2 + 20))
xdo mousemove $((X + WIDTH - 50)) $((Y + top + first_button + 2 * d + d / 2)) click 1
picker() { timeout 5 xdotool search --onlyvisible --name '^Select Directory$' | head -n 1; }
picker_open() { app_alive; [ -n "$(picker)" ]; }
picker_closed() { app_alive; [ -z "$(picker)" ]; }
wait_for 20 "the folder picker" picker_open
sleep 0.5
grab && keep picker
# The picker opens on the group's home (Sorted) with the keyboard in its folder list:
# Alpha, Beta, Delta, Epsilon, Gamma below it. Down four times, Enter opens Epsilon,
# Enter again chooses it.
xdo key Down Down Down Down Return
sleep 0.3
xdo key Return
wait_for 20 "the picker closed" picker_closed
step="key 3 (the new destination)"
xdo key 3
wait_for 20 "6-magenta.jpg moved into Epsilon" exists "$sorted/Epsilon/6-magenta.jpg"
grab && keep set-up-in-place

step="File > Exit from the keyboard"
xdo key alt+f
sleep 0.5
xdo key x
program_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
wait_for 30 "the program to end after File > Exit" program_ended
wait "$app_pid"
status=$?
app_pid=''
[ "$status" = 0 ] || fail "the program ended with status $status"

# --- what must be on disk ---------------------------------------------------------------
step="check the files"
same() { cmp -s "$tmp/originals/$1" "$2" || fail "$2 is missing or differs from the original $1"; }
same 1-red.jpg "$sorted/Alpha/1-red.jpg"
same 2-green.jpg "$sorted/Beta/2-green.jpg"
same 3-blue.jpg "$sorted/Gamma/3-blue.jpg"
same 4-yellow.jpg "$tmp/data/Trash/files/4-yellow.jpg"
same 5-cyan.jpg "$sorted/Delta/5-cyan.jpg"
same 6-magenta.jpg "$sorted/Epsilon/6-magenta.jpg"
left=$(ls -A "$pics" | tr '\n' '|')
[ -z "$left" ] || fail "Pictures still holds: $left"
for d in Alpha Beta Gamma Delta Epsilon; do
    [ "$(ls -A "$sorted/$d" | wc -l)" = 1 ] || fail "$d holds more than the one picture sent there"
done

step="check the stored settings"
ini() { # ini SECTION KEY: the stored value
    awk -v s="[$1]" -v k="$2" '$0 == s { in_s = 1; next } /^\[/ { in_s = 0 }
        in_s && index($0, k "=") == 1 { print substr($0, length(k) + 2); exit }' "$conf"
}
expect() {
    local got
    got=$(ini "$1" "$2")
    [ "$got" = "$3" ] || fail "setting $1/$2 is '$got', expected '$3'"
}
expect Config SelectionSet 1
expect TargetSet02 Target03Dir "$sorted/Epsilon"
expect TargetSet02 Target03Name Epsilon
expect TargetSet01 Target03Dir ""

passed=1
echo "PASS: sorted by keyboard alone and set a destination up in place; files and settings as expected"
