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
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_init "${1:-}" 180
pics=$home/Pictures sorted=$home/Sorted
# Qt's D-Bus thread keeps one buffer of libdbus at exit under a window manager.
export LSAN_OPTIONS="suppressions=$e2e_lib_dir/e2e_lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
caption_is() { app_alive && [ "$(timeout 5 xdotool getwindowname "$win" | sed "s/^ *//")" = "$1" ]; }

# --- the pictures, the destinations and the settings store -----------------------------
mkdir -p "$pics" "$sorted/Alpha" "$sorted/Beta" "$sorted/Gamma" "$sorted/Delta" \
    "$sorted/Epsilon" "$tmp/originals"
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

# --- the program, under a window manager --------------------------------------------------
e2e_start_x
e2e_start_app
e2e_find_window
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
wait_for 20 "4-yellow.jpg in the trash" exists "$trash/files/4-yellow.jpg"
wait_for 20 "the next picture shown" caption_is "5-cyan.jpg - Vantrel"

step="Alt+2, then key 1 (Delta in the second group)"
xdo key alt+2
xdo key 1
wait_for 20 "5-cyan.jpg moved into Delta" exists "$sorted/Delta/5-cyan.jpg"
wait_for 20 "the next picture shown" caption_is "6-magenta.jpg - Vantrel"
grab && keep sorted-by-keys

# --- a destination set up in place ------------------------------------------------------
step="click the unset destination 3, pick Epsilon in the picker by keyboard"
e2e_locate_panes
click_destination 2
picker() { timeout 5 xdotool search --onlyvisible --name '^Choose the folder for destination 3$' | head -n 1; }
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
e2e_exit_app

# --- what must be on disk ---------------------------------------------------------------
step="check the files"
same "$tmp/originals/1-red.jpg" "$sorted/Alpha/1-red.jpg"
same "$tmp/originals/2-green.jpg" "$sorted/Beta/2-green.jpg"
same "$tmp/originals/3-blue.jpg" "$sorted/Gamma/3-blue.jpg"
same "$tmp/originals/4-yellow.jpg" "$trash/files/4-yellow.jpg"
same "$tmp/originals/5-cyan.jpg" "$sorted/Delta/5-cyan.jpg"
same "$tmp/originals/6-magenta.jpg" "$sorted/Epsilon/6-magenta.jpg"
[ -z "$(listing "$pics")" ] || fail "Pictures still holds: $(listing "$pics")"
for dest in Alpha Beta Gamma Delta Epsilon; do
    [ "$(ls -A "$sorted/$dest" | wc -l)" = 1 ] || fail "$dest holds more than the one picture sent there"
done

step="check the stored settings"
expect Config SelectionSet 1
expect TargetSet02 Target03Dir "$sorted/Epsilon"
expect TargetSet02 Target03Name Epsilon
expect TargetSet01 Target03Dir ""

e2e_pass "sorted by keyboard alone and set a destination up in place; files and settings as expected"
