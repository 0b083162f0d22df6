#!/usr/bin/env bash
# Undo as a person uses it, with the real program under a window manager: two pictures moved
# with a destination button and one deleted to the trash, then Ctrl+Z three times must put
# all three back byte for byte and leave the trash empty. Then one picture is moved, the
# program killed outright, started again, and Ctrl+Z must still bring the picture back.
# Last, a picture with its companions (a RAW twin and a sidecar) is moved and undone as one.
#
# Usage: e2e_undo.sh PATH-TO-VANTREL     Exit status 0 passed, 1 failed, 77 skipped.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_init "$1" 180

pics=$home/Pictures keep=$home/Sorted/Keep journal=$home/.local/state/Ostlewin/Vantrel/sort-journal
mkdir -p "$pics" "$keep" "$tmp/originals"
for p in "a-red.jpg #ff0000" "b-green.jpg #00ff00" "c-blue.jpg #0000ff"; do
    set -- $p
    make_picture "$tmp/originals/$1" "$2"
    cp -p "$tmp/originals/$1" "$pics/$1"
done
make_picture "$tmp/originals/d-grey.jpg" "#808080"
head -c 3000 /dev/urandom >"$tmp/originals/d-grey.CR2"
printf '<x:xmpmeta xmlns:x="adobe:ns:meta/"/>\n' >"$tmp/originals/d-grey.xmp"
group="d-grey.jpg d-grey.CR2 d-grey.xmp"
for f in $group; do cp -p "$tmp/originals/$f" "$pics/$f"; done
cat >"$conf" <<EOF2
[Config]
WindowX1=0
WindowY1=0
WindowX2=1000
WindowY2=900
MoveFiles=1
UseRecyclingBin=1
FitPicToWindow=0

[TargetSet01]
HomeDirectory=$pics
Target01Name=Keep
Target01Dir=$keep
EOF2

all_back() { # every picture in its folder with its bytes, nothing left in Keep or the trash
    local f
    for f in a-red.jpg b-green.jpg c-blue.jpg $group; do cmp -s "$tmp/originals/$f" "$pics/$f" || return 1; done
    [ -z "$(listing "$keep")" ] && [ -z "$(listing "$trash/files")" ] && [ -z "$(listing "$trash/info")" ]
}

e2e_start_x
e2e_start_app
e2e_find_window
e2e_locate_panes

step="sort three pictures: two moves and a delete to the trash"
click_first_file
sleep 0.5
click_destination 0
wait_for 20 "a-red.jpg in Keep" exists "$keep/a-red.jpg"
click_destination 0
wait_for 20 "b-green.jpg in Keep" exists "$keep/b-green.jpg"
e2e_focus
xdo key Delete
wait_for 20 "c-blue.jpg in the trash" exists "$trash/files/c-blue.jpg"
grab && keep sorted

step="Ctrl+Z three times"
xdo key ctrl+z
wait_for 20 "c-blue.jpg back" exists "$pics/c-blue.jpg"
xdo key ctrl+z
wait_for 20 "b-green.jpg back" exists "$pics/b-green.jpg"
xdo key ctrl+z
wait_for 20 "a-red.jpg back" exists "$pics/a-red.jpg"
wait_for 10 "all three back, byte for byte, with Keep and the trash empty" all_back
grab && keep undone

step="move one, kill the program, start it again"
click_destination 0 # a-red.jpg, back on show after the last undo
wait_for 20 "a-red.jpg in Keep again" exists "$keep/a-red.jpg"
kill -9 "$app_pid"
wait "$app_pid" 2>/dev/null
app_pid=''
e2e_start_app
e2e_find_window
e2e_focus
step="Ctrl+Z after the restart"
xdo key ctrl+z
wait_for 20 "a-red.jpg back after the restart" exists "$pics/a-red.jpg"
wait_for 10 "all three back after the restart" all_back
shows() { app_alive && grab && [ "$(colour_at "$view_x" "$view_y")" = "$1" ]; }
wait_for 20 "a-red.jpg shown again once the folder is listed" shows HLL
grab && keep after-restart

step="a picture with its RAW twin and sidecar: moved together, undone together"
xdo key End # d-grey.jpg, the last picture listed
sleep 0.5
click_destination 0
group_in_keep() { for f in $group; do cmp -s "$tmp/originals/$f" "$keep/$f" || return 1; done; }
wait_for 20 "d-grey.jpg, its RAW and its sidecar in Keep" group_in_keep
[ "$(listing "$pics")" = "a-red.jpg|b-green.jpg|c-blue.jpg|" ] || fail "left in Pictures: $(listing "$pics")"
xdo key ctrl+z
wait_for 20 "the group back, byte for byte" all_back
grab && keep group-undone
e2e_exit_app
e2e_pass "three actions undone, one more across a kill -9 and a restart, and a picture with its companions"
