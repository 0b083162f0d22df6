#!/usr/bin/python3
"""Key to picture and the window's freezes, measured from outside the program on X11.

Like x11lat's `steps`, each step sends a key with XTEST and waits until the window has
drawn nothing for --quiet-ms; unlike it, a _NET_WM_PING goes to the window every 10 ms for
the whole step, and the step's freeze is the longest wait for an answer to any of them. A
step ends only when every ping was answered.

    share-bench.py steps --window WID --seq "Down*30" [--tag T]   (keys: Down, 1, ctrl+z, ...)
    share-bench.py paced --window WID --key 1 --count 1000 --every-ms 333 [--tag T]
    share-bench.py startup [--tag T] -- COMMAND...

One JSON line per step: picture_ms (input to the last large drawing, a tenth of the window
or more: the picture on screen), last_ms (to the last drawing of any size, such as the
notification after a sort), freeze_ms, n_pings, title. For `startup`: mapped_ms, picture_ms (start to the first picture
complete: the last large drawing on the screen before it stays quiet), last_ms (the last
drawing of any size), freeze_ms once mapped. For `paced`: a key every --every-ms whatever
the window does, one JSON line per key with the longest ping wait until the next key
(freeze_ms), then a line with drain_ms: from the last key until the window stays quiet.
Uses x11lat.py from ../shared/tools/x11lat (or X11LAT_DIR).
"""
import argparse
import json
import os
import select
import subprocess
import sys

sys.path.insert(0, os.environ.get("X11LAT_DIR", os.path.join(
    os.path.dirname(os.path.abspath(__file__)), "..", "..", "shared", "tools", "x11lat")))
import x11lat  # noqa: E402
from Xlib import X, protocol  # noqa: E402
from Xlib.ext import xtest  # noqa: E402

PING_EVERY_MS = 10.0
MODIFIERS = {"ctrl": "Control_L", "shift": "Shift_L", "alt": "Alt_L"}


class Pinger:
    """Pings the window every 10 ms; remembers when each went out and came back."""

    def __init__(self, sess, win):
        self.sess, self.win = sess, win
        self.protocols = sess.atom("WM_PROTOCOLS")
        self.ping_atom = sess.atom("_NET_WM_PING")
        self.sent, self.answered = {}, {}
        self.seq = 1
        self.next_at = 0.0

    def tick(self, now):
        if now < self.next_at:
            return
        ev = protocol.event.ClientMessage(
            window=self.win, client_type=self.protocols,
            data=(32, [self.ping_atom, self.seq, self.win.id, 0, 0]))
        self.win.send_event(ev, event_mask=0)
        self.sess.d.flush()
        self.sent[self.seq] = now
        self.seq += 1
        self.next_at = now + PING_EVERY_MS

    def take(self, t, ev):
        if ev.type == X.ClientMessage and ev.client_type == self.protocols \
                and ev.data[1][0] == self.ping_atom:
            seq = ev.data[1][1]
            if seq in self.sent and seq not in self.answered:
                self.answered[seq] = t

    def pending(self):
        return len(self.sent) - len(self.answered)

    def freeze(self, since):
        waits = [self.answered[s] - t for s, t in self.sent.items()
                 if t >= since and s in self.answered]
        return max(waits) if waits else None

    def reset(self):
        self.sent.clear()
        self.answered.clear()


def follow(sess, pinger, t0, quiet_ms, first_wait_ms, timeout_ms, on_damage=None):
    """Events until quiet (and every ping answered); the time of the last drawing. Each
    drawing is handed to on_damage(time, event)."""
    last = None
    fd = sess.d.fileno()
    while True:
        now = x11lat.now_ms()
        if pinger:
            pinger.tick(now)
        while sess.d.pending_events():
            ev = sess.d.next_event()
            t = x11lat.now_ms()
            if sess._is_damage(ev):
                last = t
                if on_damage:
                    on_damage(t, ev)
            elif pinger:
                pinger.take(t, ev)
        now = x11lat.now_ms()
        waited = now - (last if last is not None else t0)
        limit = quiet_ms if last is not None else first_wait_ms
        if now - t0 > timeout_ms:
            return last, True
        if waited >= limit and (pinger is None or pinger.pending() == 0):
            return last, False
        select.select([fd], [], [], 0.002)


def cmd_steps(args):
    sess = x11lat.Session(None)
    win = x11lat.get_window(sess, args.window)
    sess.watch(win)
    sess.move_pointer(*(int(v) for v in args.park.split(",")))
    pinger = Pinger(sess, win)
    geo = win.get_geometry()
    big_area = 0.1 * geo.width * geo.height
    for i, key in enumerate(x11lat.parse_seq(args.seq)):
        # "ctrl+z": the modifiers held around the last key
        kcs = [sess.keycode(MODIFIERS.get(k, k)) for k in key.split("+")]
        sess.drain()
        pinger.reset()
        big = []
        t0 = x11lat.now_ms()
        for kc in kcs:
            xtest.fake_input(sess.d, X.KeyPress, kc)
        for kc in reversed(kcs):
            xtest.fake_input(sess.d, X.KeyRelease, kc)
        sess.d.sync()
        last, timed_out = follow(
            sess, pinger, t0, args.quiet_ms, args.first_wait_ms, args.timeout_ms,
            lambda t, ev: big.append(t) if ev.area.width * ev.area.height >= big_area else 0)
        freeze = pinger.freeze(t0)
        rec = {"i": i, "input": key, "tag": args.tag, "timed_out": timed_out,
               "picture_ms": round(big[-1] - t0, 1) if big else None,
               "last_ms": round(last - t0, 1) if last is not None else None,
               "freeze_ms": round(freeze, 1) if freeze is not None else None,
               "n_pings": len(pinger.sent), "title": sess.name_of(win)}
        print(json.dumps(rec), flush=True)


def pump(sess, pinger, until):
    """Pings and takes the answers until the time `until`."""
    fd = sess.d.fileno()
    while True:
        now = x11lat.now_ms()
        if now >= until:
            return
        pinger.tick(now)
        while sess.d.pending_events():
            pinger.take(x11lat.now_ms(), sess.d.next_event())
        select.select([fd], [], [], min(0.002, (until - now) / 1000.0))


def cmd_paced(args):
    sess = x11lat.Session(None)
    win = x11lat.get_window(sess, args.window)
    sess.watch(win)
    sess.move_pointer(*(int(v) for v in args.park.split(",")))
    pinger = Pinger(sess, win)
    kc = sess.keycode(args.key)
    sess.drain()
    start = x11lat.now_ms()
    for i in range(args.count):
        t0 = start + i * args.every_ms
        pump(sess, pinger, t0)  # pings go on while waiting for the key's moment
        xtest.fake_input(sess.d, X.KeyPress, kc)
        xtest.fake_input(sess.d, X.KeyRelease, kc)
        sess.d.sync()
        if i > 0:
            print(json.dumps({"i": i - 1, "tag": args.tag, "freeze_ms": prev_freeze()}),
                  flush=True)
        prev_t0 = t0
        prev_freeze = (lambda since=prev_t0: round(pinger.freeze(since) or 0, 1))
    last, timed_out = follow(sess, pinger, x11lat.now_ms(), args.quiet_ms, args.first_wait_ms,
                             args.timeout_ms)
    print(json.dumps({"i": args.count - 1, "tag": args.tag, "freeze_ms": prev_freeze()}),
          flush=True)
    end = last if last is not None else x11lat.now_ms()
    print(json.dumps({"tag": args.tag, "keys": args.count, "timed_out": timed_out,
                      "drain_ms": round(end - (start + (args.count - 1) * args.every_ms), 1),
                      "title": sess.name_of(win)}), flush=True)


def cmd_startup(args):
    sess = x11lat.Session(None)
    sess.watch(sess.root)
    sess.drain()
    t0 = x11lat.now_ms()
    proc = subprocess.Popen(args.command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    win, mapped = None, None
    fd = sess.d.fileno()
    while win is None and x11lat.now_ms() - t0 < args.timeout_ms:
        select.select([fd], [], [], 0.01)
        while sess.d.pending_events():
            sess.d.next_event()
        win = sess.find(pid=proc.pid)
    if win is None:
        print(json.dumps({"tag": args.tag, "error": "no window"}), flush=True)
        return 1
    mapped = x11lat.now_ms() - t0
    pinger = Pinger(sess, win)
    screen = sess.d.screen()
    big_area = 0.1 * screen.width_in_pixels * screen.height_in_pixels
    big = []
    last, timed_out = follow(
        sess, pinger, t0, args.quiet_ms, args.first_wait_ms, args.timeout_ms,
        lambda t, ev: big.append(t) if ev.area.width * ev.area.height >= big_area else 0)
    freeze = pinger.freeze(0)
    rec = {"tag": args.tag, "pid": proc.pid, "window": "0x%x" % win.id,
           "mapped_ms": round(mapped, 1),
           "picture_ms": round(big[-1] - t0, 1) if big else None,
           "last_ms": round(last - t0, 1) if last is not None else None,
           "freeze_ms": round(freeze, 1) if freeze is not None else None,
           "timed_out": timed_out, "title": sess.name_of(win)}
    print(json.dumps(rec), flush=True)
    return 0


def main():
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = ap.add_subparsers(dest="cmd", required=True)
    for name in ("steps", "paced", "startup"):
        p = sub.add_parser(name)
        p.add_argument("--quiet-ms", type=float, default=1000)
        p.add_argument("--first-wait-ms", type=float, default=10000)
        p.add_argument("--timeout-ms", type=float, default=60000)
        p.add_argument("--tag", default=None)
        if name in ("steps", "paced"):
            p.add_argument("--window", required=True)
            p.add_argument("--park", default="1279,1023")
        if name == "steps":
            p.add_argument("--seq", required=True)
        elif name == "paced":
            p.add_argument("--key", default="1")
            p.add_argument("--count", type=int, default=1000)
            p.add_argument("--every-ms", type=float, default=1000.0 / 3)
        else:
            p.add_argument("command", nargs=argparse.REMAINDER)
    args = ap.parse_args()
    if args.cmd == "startup":
        args.command = args.command[1:] if args.command[:1] == ["--"] else args.command
        return cmd_startup(args)
    if args.cmd == "paced":
        return cmd_paced(args) or 0
    return cmd_steps(args) or 0


if __name__ == "__main__":
    sys.exit(main())
