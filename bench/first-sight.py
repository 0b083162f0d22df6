#!/usr/bin/env python3
"""Start to the first sight of a picture, measured from outside the program on X11.

Starts the program (the command after --) on one picture whose middle is a magenta square
(bench/first-sight.sh makes such pictures of every type) and watches the DAMAGE extension on
the root window, as x11lat's `startup` does. After every drawing it reads a 64 x 64 patch at
the middle of the program's window: the first time the patch shows the magenta (or a RAW
file's pure red or blue) is the first sight of the picture (its stored preview counts); the
last drawing before the screen stays quiet for 5 s (a whole decode may take seconds after
the preview) is the picture complete. One JSON line: mapped_ms, first_sight_ms,
last_damage_ms.

    /usr/bin/python3 bench/first-sight.py [--runs N] -- COMMAND...

Run it on an otherwise idle X server with a window manager; it uses x11lat.py from
../shared/tools/x11lat (or X11LAT_DIR).
"""
import json
import os
import select
import subprocess
import sys

sys.path.insert(0, os.environ.get("X11LAT_DIR", os.path.join(
    os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "shared", "tools", "x11lat")))
import x11lat  # noqa: E402
from Xlib import X  # noqa: E402

PATCH = 64


def picture_in(sess, win):
    """Whether the patch at the window's middle shows the picture: its magenta square, or
    the pure red or blue of a camera RAW file's own data (make-dng.py)."""
    try:
        geo = win.get_geometry()
        at = win.translate_coords(sess.root, 0, 0)
        x = -at.x + geo.width // 2 - PATCH // 2
        y = -at.y + geo.height // 2 - PATCH // 2
        data = sess.root.get_image(x, y, PATCH, PATCH, X.ZPixmap, 0xFFFFFFFF).data
    except Exception:
        return False
    for i in range(0, len(data) - 3, 4):
        b, g, r = data[i], data[i + 1], data[i + 2]
        if g < 60 and (r > 200 or b > 200):
            return True
    return False


def run(command, quiet_ms=5000, timeout_ms=60000):
    sess = x11lat.Session(None)
    sess.watch(sess.root)
    sess.drain()
    t0 = x11lat.now_ms()
    proc = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    win, mapped, first, last = None, None, None, None
    fd = sess.d.fileno()
    while x11lat.now_ms() - t0 < timeout_ms:
        if win is not None and last is not None and first is not None and \
                x11lat.now_ms() - last >= quiet_ms:
            break
        select.select([fd], [], [], 0.01)
        damaged = False
        while sess.d.pending_events():
            if sess._is_damage(sess.d.next_event()):
                last = x11lat.now_ms()
                damaged = True
        if win is None:
            win = sess.find(pid=proc.pid, pids=x11lat.descendants(proc.pid))
            if win is not None:
                mapped = x11lat.now_ms() - t0
        if win is not None and first is None and damaged and picture_in(sess, win):
            first = x11lat.now_ms() - t0
    proc.terminate()
    proc.wait(10)
    r = lambda v: round(v, 1) if v is not None else None
    return {"mapped_ms": r(mapped), "first_sight_ms": r(first),
            "last_damage_ms": r(last - t0 if last else None)}


def main():
    args = sys.argv[1:]
    runs = 1
    if args[:1] == ["--runs"]:
        runs, args = int(args[1]), args[2:]
    if args[:1] == ["--"]:
        args = args[1:]
    if not args:
        sys.exit(__doc__)
    for _ in range(runs):
        print(json.dumps(run(args)), flush=True)


if __name__ == "__main__":
    main()
