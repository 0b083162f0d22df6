# Shared by the end-to-end scenarios: source it, do not run it. It gives a scenario a private
# X server on a free display with a window manager (openbox), the real program started with a
# private HOME and XDG folders, bounded waits, screenshots, and checks of files and settings.
#
# A scenario looks like this:
#
#   source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
#   e2e_init "$1" 180              # the program, the time limit in seconds for the whole run
#   mkdir -p "$pics"; ...          # pictures, destinations; write the settings store "$conf"
#   e2e_start_x                    # Xvfb + openbox (E2E_WM=none in the environment: no manager)
#   e2e_start_app                  # the program (extra arguments are passed on)
#   e2e_find_window                # $win, and its geometry (see e2e_window_geometry)
#   step="what a person does"; xdo key Delete; wait_for 20 "..." exists "$trash/files/x.jpg"
#   e2e_exit_app                   # File > Exit, and a clean exit status
#   expect Config MoveFiles 1      # the stored settings
#   e2e_pass "what was shown"
#
# Exit status of a scenario: 0 passed, 1 failed, 77 skipped (a tool is missing). On failure the
# temporary folder is kept, with a screenshot of the screen at the moment of failure and every
# screenshot kept on the way (keep NAME).
#
# Variables a scenario may read (set by e2e_init unless said otherwise):
#   app        the program            tmp     the private temporary folder
#   home       the private HOME       conf    the settings store ($XDG_CONFIG_HOME/Ostlewin/Vantrel.conf)
#   data       $XDG_DATA_HOME         trash   the home trash ($data/Trash, with files/ and info/)
#   shots      kept screenshots       shot    the last screenshot (grab)
#   app_pid    the running program (e2e_start_app)
#   win        its main window's X id (e2e_find_window)
#   X Y WIDTH HEIGHT        the main window's client area on the screen (e2e_window_geometry)
#   OX OY OWIDTH OHEIGHT    its outer rectangle, window manager frame included
#   step       what the scenario is doing, for failure messages; detail: more for the next failure
# shellcheck shell=bash

e2e_lib_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# e2e_init PROGRAM [LIMIT]: checks the tools, makes the private folders, sets the traps.
e2e_init() {
    app=${1:?usage: e2e_init PATH-TO-VANTREL [SECONDS]}
    limit=${2:-180}
    local tool tools=(Xvfb xauth xdotool xprop xwininfo import convert timeout cmp)
    [ "${E2E_WM:-openbox}" = none ] || tools+=(openbox)
    for tool in "${tools[@]}"; do
        command -v "$tool" >/dev/null || {
            echo "SKIP: $tool is missing (scripts/install-deps.sh)"
            exit 77
        }
    done
    deadline=$((SECONDS + limit))
    tmp=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-e2e.XXXXXX")
    shots=$tmp/screenshots home=$tmp/home data=$tmp/data
    trash=$data/Trash conf=$tmp/config/Ostlewin/Vantrel.conf
    xvfb_pid='' wm_pid='' app_pid='' win='' passed=0 step=setup shot_no=0 kept='' detail=''
    shot=$shots/current.png
    mkdir -p "$shots" "$home" "$data" "$tmp/cache" "$tmp/config/openbox" "$(dirname "$conf")"
    mkdir -m 700 "$tmp/runtime"
    trap e2e_cleanup EXIT
    trap 'fail "interrupted"' INT TERM
}

# stop PID: TERM, then KILL after five seconds.
stop() {
    [ -n "$1" ] && kill -0 "$1" 2>/dev/null || return 0
    kill "$1" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}
e2e_cleanup() {
    stop "$app_pid"
    stop "$wm_pid"
    stop "$xvfb_pid"
    if [ "$passed" = 1 ]; then rm -rf "$tmp"; else echo "Kept for inspection: $tmp" >&2; fi
}

# fail MESSAGE...: reports the step, a screenshot and the program's last output; exits 1.
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

# e2e_pass MESSAGE: the scenario passed; the temporary folder is removed on exit.
e2e_pass() {
    passed=1
    echo "PASS: $*"
}

# wait_for SECONDS WHAT COMMAND...: polls COMMAND until it succeeds, else fails with WHAT.
wait_for() {
    local end=$((SECONDS + $1)) what=$2
    shift 2
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || fail "$what: not seen within the time allowed"
        [ "$SECONDS" -lt "$deadline" ] || fail "$what: the whole run took over ${limit}s"
        sleep 0.2
    done
}

# xdo ARGS...: xdotool, bounded; a failure fails the scenario.
xdo() { timeout 10 xdotool "$@" || fail "xdotool $* failed"; }
# grab: a screenshot of the whole screen into $shot.
grab() { timeout 10 import -silent -window root "$shot"; }
# keep NAME: the last screenshot, numbered, for a person to look at.
keep() {
    shot_no=$((shot_no + 1))
    kept=$shots/$(printf %02d "$shot_no")-$1.png
    cp "$shot" "$kept"
}

# e2e_start_x: a private X server on a free display with its own cookie, and the window
# manager unless E2E_WM=none. Exports DISPLAY and XAUTHORITY. A display whose window manager
# cannot open it (seen now and then while other tests run) is given up for a new server.
e2e_start_x() {
    local server refused=
    for server in 1 2 3; do
        e2e_start_server # while a refused one still holds its display, so this one differs
        stop "$refused"
        [ "${E2E_WM:-openbox}" = none ] && return 0
        e2e_start_wm && return 0
        refused=$xvfb_pid
    done
    step="start the window manager"
    fail "openbox did not start on three servers: $(tail -n 3 "$tmp/wm.log")"
}
e2e_start_server() {
    step="start Xvfb"
    local cookie
    cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
    : >"$tmp/server.auth"
    : >"$tmp/Xauthority"
    : >"$tmp/display"
    xauth -q -f "$tmp/server.auth" add :0 MIT-MAGIC-COOKIE-1 "$cookie"
    Xvfb -displayfd 9 -auth "$tmp/server.auth" -nolisten tcp -screen 0 "${E2E_SCREEN:-1280x1024x24}" \
        9>"$tmp/display" >>"$tmp/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_for 20 "Xvfb's display number" e2e_display_known
    export DISPLAY=:$(head -n 1 "$tmp/display") XAUTHORITY=$tmp/Xauthority
    xauth -q -f "$XAUTHORITY" add "$DISPLAY" MIT-MAGIC-COOKIE-1 "$cookie"
    wait_for 20 "a client connection to Xvfb on $DISPLAY" e2e_x_answers
}
# True once openbox manages the display; a few tries, as it has been seen to refuse a display
# that answers.
e2e_start_wm() {
    step="start the window manager"
    local try
    for try in 1 2 3; do
        # Its own settings folder, so a user's openbox configuration cannot change the frames.
        env HOME="$home" XDG_CONFIG_HOME="$tmp/config" XDG_CACHE_HOME="$tmp/cache" \
            openbox --sm-disable >>"$tmp/wm.log" 2>&1 &
        wm_pid=$!
        e2e_wait_wm && return 0
        stop "$wm_pid"
        wm_pid=
        sleep 1 # give the server a moment before the next try
    done
    return 1
}
e2e_wait_wm() {
    local end=$((SECONDS + 20))
    until timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        kill -0 "$wm_pid" 2>/dev/null && [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.2
    done
}
e2e_display_known() {
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb ended: $(tail -n 3 "$tmp/xvfb.log")"
    grep -qs '^[0-9]\+$' "$tmp/display"
}
e2e_x_answers() { timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1; }

# e2e_start_app [ARGS...]: starts the program (after e2e_start_x) with HOME, XDG_CONFIG_HOME,
# XDG_DATA_HOME, XDG_CACHE_HOME and XDG_RUNTIME_DIR private, no splash screen; its output is
# appended to $tmp/app.log. Start it again after e2e_exit_app for another run.
e2e_start_app() {
    step="start the program"
    env -u DBUS_SESSION_BUS_ADDRESS -u SESSION_MANAGER HOME="$home" XDG_CONFIG_HOME="$tmp/config" \
        XDG_DATA_HOME="$data" XDG_CACHE_HOME="$tmp/cache" XDG_RUNTIME_DIR="$tmp/runtime" \
        QT_QPA_PLATFORM=xcb "$app" --no-splash "$@" >>"$tmp/app.log" 2>&1 &
    app_pid=$!
    win=''
}
app_alive() { kill -0 "$app_pid" 2>/dev/null || fail "the program ended by itself"; }
program_ended() { ! kill -0 "$app_pid" 2>/dev/null; }

# e2e_find_window [SECONDS]: waits for the program's visible main window; sets $win and the
# geometry variables.
e2e_find_window() {
    wait_for "${1:-60}" "the main window" e2e_main_window_shown
    e2e_window_geometry
}
e2e_main_window_shown() {
    app_alive
    win=$(timeout 5 xdotool search --onlyvisible --pid "$app_pid" --name ' - Vantrel$' | head -n 1)
    [ -n "$win" ]
}

# e2e_window_geometry: X Y WIDTH HEIGHT, the client area of $win on the screen, and
# OX OY OWIDTH OHEIGHT, the outer rectangle with the window manager's frame (_NET_FRAME_EXTENTS;
# without a window manager the two are the same).
e2e_window_geometry() {
    local info left=0 right=0 top=0 bottom=0 extents
    # xwininfo, not xdotool: under a reparenting window manager xdotool adds the client's
    # offset in its frame twice.
    info=$(timeout 10 xwininfo -id "$win") || fail "no geometry for $win"
    X=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
    Y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
    WIDTH=$(sed -n 's/^ *Width: *//p' <<<"$info")
    HEIGHT=$(sed -n 's/^ *Height: *//p' <<<"$info")
    extents=$(timeout 5 xprop -id "$win" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p')
    [ -n "$extents" ] && IFS=', ' read -r left right top bottom <<<"$extents"
    OX=$((X - left)) OY=$((Y - top)) OWIDTH=$((WIDTH + left + right)) OHEIGHT=$((HEIGHT + top + bottom))
}
# outer_is "X,Y WxH": true when the outer rectangle is that (refreshes the geometry).
outer_is() {
    app_alive
    e2e_window_geometry
    detail="outer rectangle $OX,$OY ${OWIDTH}x$OHEIGHT, client $X,$Y ${WIDTH}x$HEIGHT"
    [ "$OX,$OY ${OWIDTH}x$OHEIGHT" = "$1" ]
}

# e2e_focus: gives the main window the keyboard focus (through the window manager if any).
e2e_focus() {
    if [ -n "$wm_pid" ]; then xdo windowactivate --sync "$win"; else xdo windowfocus --sync "$win"; fi
}

# e2e_exit_app: File > Exit from the keyboard; waits for the end and a zero exit status.
e2e_exit_app() {
    e2e_focus
    xdo key alt+f
    sleep 0.5
    xdo key x
    wait_for 30 "the program to end after File > Exit" program_ended
    local status=0
    wait "$app_pid" || status=$?
    app_pid=''
    [ "$status" = 0 ] || fail "the program ended with status $status"
}

# colour_at X Y: the colour at a point of the window's client area in the last screenshot, as
# one letter per channel: H high, L low, M between (so red is HLL, light grey HHH).
colour_at() {
    convert "$shot" -format "%[fx:int(255*p{$((X + $1)),$((Y + $2))}.r)] \
%[fx:int(255*p{$((X + $1)),$((Y + $2))}.g)] %[fx:int(255*p{$((X + $1)),$((Y + $2))}.b)]" info: |
        awk '{ for (i = 1; i <= 3; i++) printf "%s", ($i >= 180 ? "H" : $i <= 75 ? "L" : "M") }'
}

# e2e_locate_panes: finds the panes below the bars by fitting the destination bar's layout to
# the horizontal edges in one pixel column near the window's right edge (Delete at the top,
# twenty equal destination buttons centred below it, Home at the bottom). Sets top (the panes'
# top in the client area), cy (their height), d (a destination button's height),
# first_button (the first destination button's top, from $top), list_top (the file list's
# first row), view_x and view_y (the middle of the picture pane).
e2e_locate_panes() {
    wait_for "${1:-30}" "the destination bar's buttons in the screenshot" e2e_fit_right_pane
    detail=''
    local e
    d=$(((cy - 20) / 23)) e=$(((cy - 20) / 23 * 3 / 2))
    first_button=$((e + (cy - 2 * e - 20 * d - 20) / 2 + 20))
    list_top=$((top + (3 * (cy - 3)) / 10 + 6))
    view_x=$(((200 + WIDTH - 103) / 2)) view_y=$((top + cy / 2))
}
e2e_fit_right_pane() {
    app_alive
    grab || return 1
    local score
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
# click X Y: a left click at a point of the client area. click_destination N: on destination
# button N (0-19); click_first_file: on the file list's first row (after e2e_locate_panes).
click() { xdo mousemove $((X + $1)) $((Y + $2)) click 1; }
click_destination() { click $((WIDTH - 52)) $((top + first_button + $1 * d + d / 2)); }
click_first_file() { click 40 $((list_top + 10)); }

# --- files and settings ----------------------------------------------------------------
# make_picture PATH COLOUR [WxH]: a plain JPEG of one colour.
make_picture() { convert -size "${3:-320x240}" "xc:$2" "$1" || fail "cannot make $1"; }
exists() { [ -e "$1" ]; }
absent() { [ ! -e "$1" ]; }
# same ORIGINAL COPY: fails unless COPY exists with the same bytes as ORIGINAL.
same() { cmp -s "$1" "$2" || fail "$2 is missing or differs from $1"; }
# listing DIR: the names in DIR, sorted, each followed by "|".
listing() { (cd "$1" && LC_ALL=C ls -A | tr '\n' '|'); }
# ini SECTION KEY: the value stored in $conf.
ini() {
    awk -v s="[$1]" -v k="$2" '$0 == s { in_s = 1; next } /^\[/ { in_s = 0 }
        in_s && index($0, k "=") == 1 { print substr($0, length(k) + 2); exit }' "$conf"
}
# expect SECTION KEY VALUE: fails unless the stored value is VALUE.
expect() {
    local got
    got=$(ini "$1" "$2")
    [ "$got" = "$3" ] || fail "setting $1/$2 is '$got', expected '$3'"
}
