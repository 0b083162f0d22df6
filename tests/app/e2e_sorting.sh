#!/usr/bin/env bash
# Sorts a small folder of pictures with the real program on a private X server with a window
# manager, the way a person would: mouse clicks on the file list and a destination button, the
# Delete, Space, Alt+2 and F5 keys, a dialog opened and cancelled, File > Exit from the keyboard.
# Then the files on disk, the trash and the stored settings must show exactly what was done.
#
# Usage: e2e_sorting.sh PATH-TO-VANTREL     Exit status 0 passed, 1 failed, 77 skipped.
# On failure the temporary folder is kept, with a screenshot of every step.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_init "${1:-}" 180
pics=$home/Pictures sorted=$home/Sorted

# --- the pictures, the destinations and the settings store -----------------------------
mkdir -p "$pics" "$sorted/Alpha" "$sorted/Beta" "$tmp/originals"
picture() { # picture NAME COLOUR
    make_picture "$tmp/originals/$1" "$2"
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

# --- the program, under a window manager --------------------------------------------------
e2e_start_x
e2e_start_app
e2e_find_window
at_stored_place() { app_alive && e2e_window_geometry && [ "$OX,$OY" = "0,0" ]; }
wait_for 10 "the window at its stored place" at_stored_place
e2e_locate_panes
echo "Panes from y=$top, ${cy} px high; destination buttons ${d} px from y=$((top + first_button))"

shows() { app_alive && grab && [ "$(colour_at "$view_x" "$view_y")" = "$1" ]; }
fitted() { app_alive && grab && [ "$(colour_at $((view_x - 240)) "$view_y")" = "$1" ]; }
list_filled() { # some dark text in the file list's first row
    grab || return 1
    [ "$(convert "$shot" -crop "120x14+$((X + 25))+$((Y + list_top + 3))" -colorspace Gray \
        -format '%[fx:int(255*minima)]' info:)" -lt 100 ]
}

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
wait_for 20 "'b green.jpg' in the trash" exists "$trash/files/b green.jpg"
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
e2e_focus
xdo windowmove --sync "$win" 24 32
xdo windowsize --sync "$win" 960 860
moved() { app_alive && e2e_window_geometry && [ "$WIDTH,$HEIGHT" = "960,860" ] && [ "$OX" -ge 20 ]; }
wait_for 10 "the window moved and resized" moved
moved_to="$OX $OY $((OX + OWIDTH)) $((OY + OHEIGHT))"
xdo key alt+f
sleep 0.5
grab && keep file-menu
xdo key x
wait_for 30 "the program to end after File > Exit" program_ended
status=0
wait "$app_pid" || status=$?
app_pid=''
[ "$status" = 0 ] || fail "the program ended with status $status"

# --- what must be on disk ---------------------------------------------------------------
step="check the files"
original() { same "$tmp/originals/$1" "$2"; }
original "a-red.jpg" "$sorted/Alpha/a-red.jpg"
original "0-magenta.jpg" "$sorted/Beta/0-magenta.jpg"
original "b green.jpg" "$trash/files/b green.jpg"
original "c-blue.jpg" "$pics/c-blue.jpg"
original "d-yellow.jpg" "$pics/d-yellow.jpg"
left=$(listing "$pics")
[ "$left" = "c-blue.jpg|d-yellow.jpg|notes.txt|" ] || fail "Pictures holds: $left"
[ "$(ls -A "$sorted/Alpha" | wc -l),$(ls -A "$sorted/Beta" | wc -l)" = "1,1" ] ||
    fail "a destination holds more than the one moved picture"
info="$trash/info/b green.jpg.trashinfo"
grep -qxF "Path=$pics/b%20green.jpg" "$info" || fail "$info does not record the original path"
grep -qx 'DeletionDate=[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]T[0-9:]\{8\}' "$info" ||
    fail "$info has no deletion date"

step="check the stored settings"
read -r x1 y1 x2 y2 <<<"$moved_to" # the outer rectangle, window manager's frame included
expect Config WindowX1 "$x1"
expect Config WindowY1 "$y1"
expect Config WindowX2 "$x2"
expect Config WindowY2 "$y2"
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

e2e_pass "sorted with the mouse and the keyboard; files, trash and settings as expected"
