#!/usr/bin/python3
"""Checks the undo journal of a sorting run against the disk.

    share-bench-journal.py JOURNAL KEYS

Every action announced must have an outcome (done or failed); a done action's files must
be at their targets and gone from their sources, a failed action's files still at their
sources. Prints the counts and exits 1 when anything is amiss or fewer than KEYS actions
were recorded. Reads the lines as the program writes them: fields separated by tabs, the
last one the line's seal; an announcement ("A") gives seq, time, kind, destination, the
count and each source with five stamp fields; a done line ("D") gives seq, the count and
each target with five stamp fields and a trash info file.
"""
import os
import sys
from urllib.parse import unquote_to_bytes


def path(field):
    return unquote_to_bytes(field)


def main():
    journal, keys = sys.argv[1], int(sys.argv[2])
    sources, targets, state = {}, {}, {}
    with open(journal, "rb") as f:
        for line in f.read().split(b"\n"):
            fields = line.split(b"\t")[:-1]  # without the seal
            if not fields:
                continue
            code, seq = fields[0], int(fields[1])
            if code == b"A":
                n = int(fields[5])
                sources[seq] = [path(fields[6 + 6 * i]) for i in range(n)]
                state[seq] = "open"
            elif code == b"D":
                n = int(fields[2])
                targets[seq] = [path(fields[3 + 7 * i]) for i in range(n)]
                state[seq] = "done"
            elif code == b"F":
                state[seq] = "failed"
    bad = []
    files = 0
    for seq, st in state.items():
        if st == "open":
            bad.append(f"action {seq} has no outcome")
        for i, src in enumerate(sources[seq]):
            target = targets.get(seq, [])[i] if st == "done" and i < len(targets.get(seq, [])) else b""
            if st == "done" and target:
                files += 1
                if not os.path.lexists(target) or os.path.lexists(src):
                    bad.append(f"action {seq}: {src!r} is not where the journal says")
            elif os.path.lexists(src) is False and st != "done":
                bad.append(f"action {seq}: {src!r} stayed, yet is gone")
    counts = {s: list(state.values()).count(s) for s in ("done", "failed", "open")}
    print(f"journal: {len(state)} actions for {keys} keys ({counts['done']} done, "
          f"{counts['failed']} failed, {counts['open']} without outcome); {files} files "
          f"where it says; {len(bad)} problems")
    for b in bad[:10]:
        print("  " + b)
    return 1 if bad or len(state) < keys else 0


if __name__ == "__main__":
    sys.exit(main())
