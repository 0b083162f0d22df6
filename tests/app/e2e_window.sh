#!/usr/bin/env bash
# The main window as a person finds it over several runs: the stored outer rectangle comes
# back exactly, run after run, also after the window was maximised; with a window manager, a
# folder made and a picture dropped in by another program show up by themselves without
# changing the picture on show, and Caps Lock lights CAP in the status bar.
#
# Usage: e2e_window.sh PATH-TO-VANTREL     Exit status 0 passed, 1 failed, 77 skipped.
# With E2E_WM=none only the runs without a window manager are made.
# E2E_SHOTS=<folder> keeps the screenshots a person looks at (start-up, status bar).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_init "${1:-}" 200
# Deep enough that a picture's status text needs shortening in a 900-pixel window.
pics="$home/Pictures/2024 - A long summer holiday by the sea/Day three - the harbour and the old town"
mkdir -p "$pics/Boats"
make_picture "$pics/a-red.jpg" "#ff0000"
make_picture "$pics/b-green.jpg" "#00ff00"
settings() { # settings X1 Y1 X2 Y2: a fresh store with that window rectangle
    cat >"$conf" <<EOF
[Config]
WindowX1=$1
WindowY1=$2
WindowX2=$3
WindowY2=$4
FitPicToWindow=0

[TargetSet01]
HomeDirectory=$pics
EOF
}
stored() { echo "$(ini Config WindowX1),$(ini Config WindowY1) $(($(ini Config WindowX2) - \
$(ini Config WindowX1)))x$(($(ini Config WindowY2) - $(ini Config WindowY1)))"; }
run_once() { # run_once: start, wait for the window, quit
    e2e_start_app
    e2e_find_window
    sleep 0.5 # the frame may be told late
    e2e_exit_app
}
e2e_start_x

step="three runs with a stored rectangle"
settings 10 20 910 720
e2e_start_app
e2e_find_window
wait_for 5 "the window at its stored outer rectangle" outer_is "10,20 900x700"
e2e_exit_app
for run in 2 3 4; do
    [ "$(stored)" = "10,20 900x700" ] || fail "before run $run the store holds $(stored)"
    run_once
done
[ "$(stored)" = "10,20 900x700" ] || fail "after four runs the store holds $(stored)"

step="first run with an empty store"
rm -f "$conf"
e2e_start_app
e2e_find_window
wait_for 5 "the window at the default outer rectangle" outer_is "16,16 768x558"
e2e_exit_app
[ "$(stored)" = "16,16 768x558" ] || fail "the store holds $(stored)"

if [ -z "$wm_pid" ]; then
    e2e_pass "the window rectangle stayed the same over five runs without a window manager"
    exit 0
fi

step="maximise, quit, start again (maximised), restore"
settings 40 30 940 730
e2e_start_app
e2e_find_window
wait_for 5 "the window at its stored outer rectangle" outer_is "40,30 900x700"
normal="$OX,$OY ${OWIDTH}x$OHEIGHT"
xdo mousemove $((OX + OWIDTH / 2)) $(((OY + Y) / 2)) click --repeat 2 --delay 80 1
maximised() { app_alive && e2e_window_geometry && [ "$OWIDTH" -ge 1270 ]; }
wait_for 5 "the window maximised by a double click on its title" maximised
e2e_exit_app
[ "$(stored)" = "$normal" ] || fail "maximised, the store holds $(stored), not $normal"
e2e_start_app
e2e_find_window
wait_for 5 "the window maximised again after a maximised run" maximised
xdo mousemove $((OX + OWIDTH / 2)) $(((OY + Y) / 2)) click --repeat 2 --delay 80 1
wait_for 5 "the normal rectangle once it is no longer maximised" outer_is "$normal"

step="the window after start-up"
e2e_locate_panes
grab && keep start-up
[ -n "${E2E_SHOTS:-}" ] && cp "$shot" "$E2E_SHOTS/window-start-up.png"
click_first_file
shows() { app_alive && grab && [ "$(colour_at "$view_x" "$view_y")" = "$1" ]; }
wait_for 10 "the red picture" shows HLL

# Crops of parts of the window, to see them change.
crop() { convert "$shot" -crop "$3x$4+$((X + $1))+$((Y + $2))" +repage -depth 8 rgb:- | md5sum; }
tree_crop() { crop 4 "$top" 190 $((list_top - top - 8)); }
list_crop() { crop 4 "$list_top" 190 $((top + cy - list_top - 4)); }
changed() { # changed WHAT BEFORE: the crop differs from BEFORE
    app_alive && grab && [ "$($1)" != "$2" ]
}

step="a folder made by another program"
grab
tree_before=$(tree_crop) list_before=$(list_crop)
started=$SECONDS
mkdir "$pics/Made Outside"
wait_for 2 "the new folder in the tree" changed tree_crop "$tree_before"
echo "The folder appeared in the tree within $((SECONDS - started)) s"
[ "$(list_crop)" = "$list_before" ] || fail "a new folder changed the file list"
shows HLL || fail "the picture on show changed"

step="a picture dropped in by another program"
grab
list_before=$(list_crop)
make_picture "$tmp/c-blue.jpg" "#0000ff"
mv "$tmp/c-blue.jpg" "$pics/"
wait_for 2 "the new picture in the list" changed list_crop "$list_before"
shows HLL || fail "the picture on show changed"
keep dropped-in

step="Print Setup"
xdo key alt+f
sleep 0.3
xdo key r
setup() { timeout 5 xdotool search --onlyvisible --name '^Print Setup$' | head -n 1; }
setup_open() { app_alive; [ -n "$(setup)" ]; }
wait_for 10 "the Print Setup dialog" setup_open
sleep 0.5
grab && keep print-setup
[ -n "${E2E_SHOTS:-}" ] && cp "$shot" "$E2E_SHOTS/window-print-setup.png"
xdo key Escape
setup_closed() { app_alive; [ -z "$(setup)" ]; }
wait_for 10 "Print Setup closed by Escape" setup_closed
[ -z "$(ls "$pics" | grep -v '\.jpg$' | grep -v '^Boats$\|^Made Outside$')" ] ||
    fail "Print Setup left a file in the folder being sorted: $(ls "$pics")"

step="Caps Lock lights CAP"
status_y=$((HEIGHT - 12))
lock_crop() { crop $((WIDTH - 200)) $((status_y - 8)) 180 16; }
grab
[ -n "${E2E_SHOTS:-}" ] && cp "$shot" "$E2E_SHOTS/window-status-bar.png"
locks_before=$(lock_crop)
xdo key Caps_Lock
wait_for 2 "CAP in the status bar" changed lock_crop "$locks_before"
keep caps-lock
[ -n "${E2E_SHOTS:-}" ] && cp "$shot" "$E2E_SHOTS/window-caps-lock.png"
xdo key Caps_Lock
wait_for 2 "CAP gone again" eval '[ "$(grab && lock_crop)" = "$locks_before" ]'
e2e_exit_app

e2e_pass "the window rectangle held over runs and a maximised run; outside changes and Caps Lock showed"
