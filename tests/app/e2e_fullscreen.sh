#!/usr/bin/env bash
# Full screen and zoom with the real program under a window manager, by keys only: F11
# covers the screen with the picture, a digit sorts it, Ctrl+Z undoes, Escape leaves and the
# window is back at its outer rectangle; Z shows a picture at 100 % and Space fits it again.
# The stored rectangle after the run is the one before.
#
# Usage: e2e_fullscreen.sh PATH-TO-VANTREL     Exit status 0 passed, 1 failed, 77 skipped.
# E2E_SHOTS=<folder> keeps the screenshots a person looks at (full screen, zoomed).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_init "${1:-}" 180
pics=$home/Pictures sorted=$home/Sorted
mkdir -p "$pics" "$sorted/Keep" "$sorted/Later"
photo=/usr/share/wallpapers/Kite/contents/images/2560x1600.jpg
if [ -r "$photo" ]; then
    convert "$photo" -resize 1600x1000 "$pics/a-photo.jpg" || fail "cannot make a-photo.jpg"
else # without the wallpapers: halves of two colours
    convert -size 1600x1000 xc:'#ff0000' -fill '#0000ff' -draw 'rectangle 800,0 1600,1000' \
        "$pics/a-photo.jpg" || fail "cannot make a-photo.jpg"
fi
make_picture "$pics/b-green.jpg" "#00ff00"
cat >"$conf" <<EOF
[Config]
WindowX1=30
WindowY1=40
WindowX2=1030
WindowY2=840
MoveFiles=1
UseRecyclingBin=1
FitPicToWindow=1

[TargetSet01]
HomeDirectory=$pics
Target01Name=Keep
Target01Dir=$sorted/Keep
Target02Name=Later
Target02Dir=$sorted/Later
EOF
stored() { echo "$(ini Config WindowX1),$(ini Config WindowY1) $(($(ini Config WindowX2) - \
$(ini Config WindowX1)))x$(($(ini Config WindowY2) - $(ini Config WindowY1)))"; }
e2e_start_x
if [ -z "$wm_pid" ]; then
    echo "SKIP: full screen needs a window manager"
    exit 77
fi
e2e_start_app
e2e_find_window
wait_for 10 "the window at its stored outer rectangle" outer_is "30,40 1000x800"
normal="$OX,$OY ${OWIDTH}x$OHEIGHT"
e2e_locate_panes
click_first_file
shows_photo() { app_alive && grab && [ "$(colour_at "$view_x" "$view_y")" != "HHH" ]; }
wait_for 20 "the photo in the middle pane" shows_photo

step="F11"
e2e_focus
xdo key F11
screen=$(xdotool getdisplaygeometry | tr ' ' 'x')
full() { app_alive && e2e_window_geometry && [ "$X,$Y ${WIDTH}x$HEIGHT" = "0,0 $screen" ]; }
wait_for 10 "the window over the whole screen" full
sleep 0.5
grab && keep full-screen
[ -n "${E2E_SHOTS:-}" ] && cp "$shot" "$E2E_SHOTS/full-screen.png"

step="a digit in full screen"
xdo key 1
wait_for 20 "a-photo.jpg moved into Sorted/Keep" exists "$sorted/Keep/a-photo.jpg"
sleep 0.5
grab && keep full-screen-sorted
[ -n "${E2E_SHOTS:-}" ] && cp "$shot" "$E2E_SHOTS/full-screen-sorted.png"

step="Ctrl+Z in full screen"
xdo key ctrl+z
wait_for 20 "a-photo.jpg back in Pictures" exists "$pics/a-photo.jpg"
full || fail "Ctrl+Z left full screen"

step="Z, 100 % in full screen"
xdo mousemove $((WIDTH / 3)) $((HEIGHT / 3))
xdo key z
sleep 1
grab && keep full-screen-zoomed
[ -n "${E2E_SHOTS:-}" ] && cp "$shot" "$E2E_SHOTS/full-screen-zoomed.png"

step="Escape"
xdo key Escape
wait_for 10 "the window back at its outer rectangle" outer_is "$normal"
exists "$pics/a-photo.jpg" || fail "Escape did more than leave full screen"

step="Z and plus in the window, then Space"
e2e_focus
xdo mousemove $((X + view_x)) $((Y + view_y))
xdo key z
sleep 1
grab && keep zoomed
[ -n "${E2E_SHOTS:-}" ] && cp "$shot" "$E2E_SHOTS/zoomed.png"
xdo key plus
sleep 1
grab && keep zoomed-150
xdo key space
sleep 1
grab && keep fitted-again

e2e_exit_app
[ "$(stored)" = "$normal" ] || fail "after full screen the store holds $(stored), not $normal"
expect Config FitPicToWindow 1
e2e_pass "full screen by keys: sorted, undone, left with Escape, the window as before"
