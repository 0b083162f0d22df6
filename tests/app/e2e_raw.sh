#!/usr/bin/env bash
# A camera RAW file shown by the real program on a private X server with a window manager: the
# file (a DNG named .NEF, sensor 2400x1600, with a 1200x800 preview) is listed with the RAW
# filter, decoded in the sandboxed decoder helper and shown fitted to the picture pane.
# The preview is green on the left and magenta on the right, the sensor's data red and blue:
# the colours tell that the preview was shown. E2E_RAW_SHOT=FILE keeps the screenshot there.
#
# Usage: e2e_raw.sh PATH-TO-VANTREL     Exit status 0 passed, 1 failed, 77 skipped.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
e2e_init "${1:-}" 120
command -v python3 >/dev/null || { echo "SKIP: python3 is missing"; exit 77; }
pics=$home/Pictures
mkdir -p "$pics"
convert -size 1200x800 xc:lime -fill magenta -draw 'rectangle 600,0 1199,799' \
    -quality 90 "$tmp/preview.jpg" || fail "cannot make the preview"
python3 "$e2e_lib_dir/../picture/make-dng.py" "$pics/photo.NEF" --size 2400x1600 \
    --preview "$tmp/preview.jpg" || fail "cannot make the RAW file"
cat >"$conf" <<EOF2
[Config]
WindowX1=0
WindowY1=0
WindowX2=1200
WindowY2=900
SelectionSet=0
FilterFlags=263168
FitPicToWindow=1

[TargetSet01]
HomeDirectory=$pics
EOF2

e2e_start_x
e2e_start_app
e2e_find_window
e2e_locate_panes
step="show the RAW file"
click_first_file
shows() { # left and right of the middle of the picture pane
    app_alive && grab && [ "$(colour_at $((view_x - 40)) "$view_y")" = "$1" ] &&
        [ "$(colour_at $((view_x + 40)) "$view_y")" = "$2" ]
}
wait_for 30 "the RAW file's preview (green, magenta) in the middle pane" shows LHL HLH
keep raw-fitted
[ -n "${E2E_RAW_SHOT:-}" ] && cp "$shot" "$E2E_RAW_SHOT"
e2e_exit_app
e2e_pass "a camera RAW file shown fitted through its preview"
