# Sourced by the benchmarks that drive the real window: x_session WORK starts a private
# Xvfb (1280x1024, a free display of its own) and openbox, both logging into WORK, exports
# DISPLAY, and sets xvfb and wm to their process ids for the caller's clean-up. The
# caller sets its EXIT trap beforehand, with xvfb and wm empty. window_config prints the
# window's settings the benchmarks share: 1280 x 1000 at the top left, pictures fitted.
x_session() {
    Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$1/display" >"$1/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$1/display" ] && break; sleep 0.1; done
    export DISPLAY=:$(head -n 1 "$1/display")
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
    HOME="$1" openbox --sm-disable >"$1/wm.log" 2>&1 &
    wm=$!
    sleep 1
}

window_config() {
    printf '[Config]\nWindowX1=0\nWindowY1=0\nWindowX2=1280\nWindowY2=1000\nFitPicToWindow=1\n\n'
}
