#!/usr/bin/env bash
# Sorts a small folder of pictures with the real program on a private X server, the way a
# person would: mouse clicks on the file list and a destination button, the Delete, Space,
# Alt+2 and F5 keys, a dialog opened and cancelled, File > Exit from the keyboard. Then the
# files on disk, the trash and the stored settings must show exactly what was done.
#
# Usage: e2e_sorting.sh PATH-TO-VANTREL     Exit status 0 passed, 1 failed, 77 skipped.
# On failure the temporary folder is kept, with a screenshot of every step.
set -uo pipefail

app=${1:?usage: $0 PATH-TO-VANTREL}
for tool in Xvfb xauth xdotool import convert timeout cmp; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/install-deps.sh)"; exit 77; }
done

limit=180 # seconds for the whole run; every wait below is also bounded on its own
deadline=$((SECONDS + limit))
tmp=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-e2e.XXXXXX")
shots=$tmp/screenshots home=$tmp/home
pics=$home/Pictures sorted=$home/Sorted conf=$tmp/config/Ostlewin/Vantrel.conf
xvfb_pid='' app_pid='' passed=0 step=setup shot_no=0 shot=$shots/current.png kept='' detail=''

stop() { # stop PID: TERM, KILL after five seconds
    [ -n "$1" ] && kill -0 "$1" 2>/dev/null || return 0
    kill "$1" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}
cleanup() {
    stop "$app_pid"
    stop "$xvfb_pid"
    if [ "$passed" = 1 ]; then rm -rf "$tmp"; else echo "Kept for inspection: $tmp" >&2; fi
}
fail() {
    echo "FAIL at step '$step': $*" >&2
    [ -n "$detail" ] && echo "$detail" >&2
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

# --- the pictures, the destinations and the settings store -----------------------------
mkdir -p "$shots" "$pics" "$sorted/Alpha" "$sorted/Beta" "$tmp/originals" "$tmp/data" \
    "$tmp/cache" "$(dirname "$conf")"
mkdir -m 700 "$tmp/runtime"
picture() { # picture NAME COLOUR
    convert -size 320x240 "xc:$2" "$tmp/originals/$1" || fail "cannot make $1"
    cp "$tmp/originals/$1" "$pics/$1"
}
picture "a-red.jpg" "#ff0000"
picture "b green.jpg" "#00ff00"
picture "c-blue.jpg" "#0000ff"
picture "d-yellow.jpg" "#ffff00"
echo "not a picture" >"$pics/notes.txt"
cat >"$conf" <<EOF
[Config]
WindowX1=0
WindowY1=0
WindowX2=1000
WindowY2=900
SelectionSet=0
MoveFiles=1
UseRecyclingBin=1
FitPicToWindow=0

[TargetSet01]
HomeDirectory=$pics
Target01Name=Alpha
Target01Dir=$sorted/Alpha

[TargetSet02]
HomeDirectory=$pics
Target01Name=Beta
Target01Dir=$sorted/Beta
EOF

# --- a private X server on a free display, with its own cookie --------------------------
step="start Xvfb"
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

# --- the program ------------------------------------------------------------------------
step="start the program"
env -u DBUS_SESSION_BUS_ADDRESS -u SESSION_MANAGER HOME="$home" XDG_CONFIG_HOME="$tmp/config" \
    XDG_DATA_HOME="$tmp/data" XDG_CACHE_HOME="$tmp/cache" XDG_RUNTIME_DIR="$tmp/runtime" \
    QT_QPA_PLATFORM=xcb "$app" --no-splash >"$tmp/app.log" 2>&1 &
app_pid=$!
find_window() {
    app_alive
    win=$(timeout 5 xdotool search --onlyvisible --pid "$app_pid" --name ' - Vantrel$' | head -n 1)
    [ -n "$win" ]
}
wait_for 60 "the main window" find_window
geometry=$(timeout 10 xdotool getwindowgeometry --shell "$win") || fail "no geometry for $win"
eval "$geometry" # X, Y, WIDTH, HEIGHT
[ "$X,$Y,$WIDTH,$HEIGHT" = "0,0,1000,900" ] ||
    fail "the window opened at $X,$Y size ${WIDTH}x$HEIGHT, not at the stored 0,0 1000x900"

# The bars above and below the panes depend on fonts and style, so the panes' top and height
# are found by fitting the destination bar's layout to the horizontal edges seen in one
# pixel column near the window's right edge: Delete at the top, twenty equal destination
# buttons centred below it, Home at the bottom.
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
    detail="best fit: $score of 50 (panes from y=$top, $cy px high)"
    [ "${score:-0}" -ge 40 ] # of 50: every edge found, give or take a pixel
}
wait_for 30 "the destination bar's buttons in the screenshot" fit_right_pane
detail=''
d=$(((cy - 20) / 23)) e=$(((cy - 20) / 23 * 3 / 2))
first_button=$((e + (cy - 2 * e - 20 * d - 20) / 2 + 20))
list_top=$((top + (3 * (cy - 3)) / 10 + 6))
view_x=$(((200 + WIDTH - 103) / 2)) view_y=$((top + cy / 2))
echo "Panes from y=$top, ${cy} px high; destination buttons ${d} px from y=$((top + first_button))"

click() { xdo mousemove $((X + $1)) $((Y + $2)) click 1; }
click_destination() { click $((WIDTH - 52)) $((top + first_button + $1 * d + d / 2)); }
click_first_file() { click 40 $((list_top + 10)); }
# The colour at a point of the window in the last screenshot, as one letter per channel:
# H high, L low, M between (so red is HLL, the grey background HHH).
colour_at() {
    convert "$shot" -format "%[fx:int(255*p{$((X + $1)),$((Y + $2))}.r)] \
%[fx:int(255*p{$((X + $1)),$((Y + $2))}.g)] %[fx:int(255*p{$((X + $1)),$((Y + $2))}.b)]" info: |
        awk '{ for (i = 1; i <= 3; i++) printf "%s", ($i >= 180 ? "H" : $i <= 75 ? "L" : "M") }'
}
shows() { app_alive && grab && [ "$(colour_at "$view_x" "$view_y")" = "$1" ]; }
fitted() { app_alive && grab && [ "$(colour_at $((view_x - 240)) "$view_y")" = "$1" ]; }
list_filled() { # some dark text in the file list's first row
    grab || return 1
    [ "$(convert "$shot" -crop "120x14+$((X + 25))+$((Y + list_top + 3))" -colorspace Gray \
        -format '%[fx:int(255*minima)]' info:)" -lt 100 ]
}
exists() { [ -e "$1" ]; }

# --- what a person does -----------------------------------------------------------------
step="click the first picture"
wait_for 20 "the picture names in the file list" list_filled
click_first_file
wait_for 20 "the red picture in the middle pane" shows HLL
fitted HHH || fail "the picture is not shown at its own size (fit to window is off)"
keep red-shown

step="click destination 1 (Alpha)"
click_destination 0
wait_for 20 "a-red.jpg moved into Sorted/Alpha" exists "$sorted/Alpha/a-red.jpg"
wait_for 20 "the next picture (green) shown" shows LHL
keep moved-to-alpha

step="press Delete"
xdo key Delete
wait_for 20 "'b green.jpg' in the trash" exists "$tmp/data/Trash/files/b green.jpg"
wait_for 20 "the next picture (blue) shown" shows LLH
keep deleted

step="press Space"
xdo key space
wait_for 20 "the blue picture fitted to the middle pane" fitted LLH
keep fitted

step="press Alt+2, put a new picture in the folder, press F5"
xdo key alt+2
convert -size 200x150 "xc:#ff00ff" "$tmp/originals/0-magenta.jpg" &&
    cp "$tmp/originals/0-magenta.jpg" "$pics/"
xdo key F5
wait_for 20 "the picture hidden after the list was filled again" shows HHH
keep refreshed
click_first_file
wait_for 20 "the new magenta picture, first in the refreshed list" shows HLH
click_destination 0
wait_for 20 "0-magenta.jpg moved into Sorted/Beta (group 2)" exists "$sorted/Beta/0-magenta.jpg"
wait_for 20 "the next picture (blue) shown" shows LLH
keep moved-to-beta

step="open Program Config, untick fit to window, cancel"
xdo key alt+e c
dialog() { timeout 5 xdotool search --onlyvisible --name '^Program Configuration$' | head -n 1; }
dialog_open() { app_alive; [ -n "$(dialog)" ]; }
dialog_closed() { app_alive; [ -z "$(dialog)" ]; }
wait_for 20 "the Program Configuration dialog" dialog_open
xdo key Tab Tab Tab space # OK, Cancel, the move/copy choice, then the fit check box
sleep 0.5
grab && keep dialog
xdo key Escape
wait_for 20 "the dialog closed by Escape" dialog_closed
fitted LLH || fail "the cancelled dialog changed how the picture is shown"

step="move and resize the window, then File > Exit"
# Without a window manager nobody gives the focus back to the main window after a dialog.
xdo windowfocus --sync "$win"
xdo windowmove --sync "$win" 24 32
xdo windowsize --sync "$win" 960 860
xdo key alt+f
sleep 0.5
grab && keep file-menu
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
same "a-red.jpg" "$sorted/Alpha/a-red.jpg"
same "0-magenta.jpg" "$sorted/Beta/0-magenta.jpg"
same "b green.jpg" "$tmp/data/Trash/files/b green.jpg"
same "c-blue.jpg" "$pics/c-blue.jpg"
same "d-yellow.jpg" "$pics/d-yellow.jpg"
left=$(cd "$pics" && ls -A | tr '\n' '|')
[ "$left" = "c-blue.jpg|d-yellow.jpg|notes.txt|" ] || fail "Pictures holds: $left"
[ "$(ls -A "$sorted/Alpha" | wc -l),$(ls -A "$sorted/Beta" | wc -l)" = "1,1" ] ||
    fail "a destination holds more than the one moved picture"
info="$tmp/data/Trash/info/b green.jpg.trashinfo"
grep -qxF "Path=$pics/b%20green.jpg" "$info" || fail "$info does not record the original path"
grep -qx 'DeletionDate=[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]T[0-9:]\{8\}' "$info" ||
    fail "$info has no deletion date"

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
expect Config WindowX1 24
expect Config WindowY1 32
expect Config WindowX2 984
expect Config WindowY2 892
expect Config SelectionSet 1
expect Config FitPicToWindow 1
expect Config MoveFiles 1
expect Config UseRecyclingBin 1
expect TargetSet01 HomeDirectory "$pics"
expect TargetSet01 Target01Name Alpha
expect TargetSet01 Target01Dir "$sorted/Alpha"
expect TargetSet02 Target01Name Beta
expect TargetSet02 Target01Dir "$sorted/Beta"
expect TargetSet03 Target20Name "< None >"

passed=1
echo "PASS: sorted with the mouse and the keyboard; files, trash and settings as expected"
