#!/usr/bin/env python3
"""Mutation runner: plants one small fault at a time and asks whether the suite notices.

Usage:
    tests/mutation/run-mutants.py [--scratch DIR] [--timeout SECONDS] [--full] [NAME...]
    tests/mutation/run-mutants.py --list

The mutants are read from tests/mutation/mutants.txt (its top says how they are written).
The runner clones the committed HEAD of this work tree once into a scratch folder
(default: build/mutation-scratch, which git ignores; its path keeps ccache's hits with the
other build folders), configures it once with the `release` preset (optimised, no
sanitizers: the fastest rebuilds), builds it and runs the suite once unmutated. A test that
already fails there is reported and does not count as a kill. Then, for each mutant (all,
or those named on the command line) it:

  1. applies the mutant's replacements to the scratch copy (each old text must occur
     exactly once in its file, or the mutant is reported as STALE),
  2. rebuilds incrementally (`cmake --build`, 2 jobs),
  3. runs the suite (`ctest -j2`, a per-test timeout, offscreen Qt platform; it stops at
     the first failure unless --full is given),
  4. runs the tests that failed once more: only a failure that happens again counts
     (the e2e tests can fail for reasons of a busy, shared machine),
  5. reports KILLED (a test that passes unmutated failed), SURVIVED (all passed) or
     BUILD-BROKEN (the mutant does not compile; it does not count),
  6. restores the scratch copy with `git checkout` and checks that `git status` is clean.

At the end it prints every mutant with its verdict, the killing tests, and the kill rate
(killed / (killed + survived)). Logs of each build and test run are kept in
DIR/mutation-logs/. Commit before running: uncommitted changes are not in the copy.

Run it by hand when the suite or the code changes; it is not part of CI (a full run takes
the better part of an hour on two cores).
"""

import argparse
import os
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
TREE = HERE.parent.parent
MUTANTS = HERE / "mutants.txt"
PRESET = "release"


class Mutant:
    def __init__(self, name):
        self.name = name
        self.file = None
        self.why = ""
        self.edits = []  # (old, new) pairs, in order


def parse_mutants(path):
    """Blocks of `key: value` lines; `[name]` starts a block, `#` lines are comments."""
    mutants, current, pending_old = [], None, None
    for number, raw in enumerate(path.read_text().splitlines(), 1):
        line = raw.rstrip("\n")
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        header = re.fullmatch(r"\[([A-Za-z0-9_.-]+)\]", line.strip())
        if header:
            current = Mutant(header.group(1))
            mutants.append(current)
            continue
        key, sep, value = line.partition(": ")
        if not sep or current is None:
            sys.exit(f"{path}:{number}: expected '[name]' or 'key: value'")
        if key == "file":
            current.file = value
        elif key == "why":
            current.why = value
        elif key == "old":
            pending_old = value
        elif key == "new":
            if pending_old is None:
                sys.exit(f"{path}:{number}: 'new' without 'old'")
            current.edits.append((pending_old, value))
            pending_old = None
        else:
            sys.exit(f"{path}:{number}: unknown key '{key}'")
    names = [m.name for m in mutants]
    for m in mutants:
        if not m.file or not m.edits or names.count(m.name) > 1:
            sys.exit(f"{path}: mutant {m.name} needs a unique name, a file and old/new lines")
    return mutants


def run(cmd, cwd, log, env=None, timeout=None):
    with open(log, "w") as out:
        out.write("$ " + " ".join(cmd) + "\n")
        out.flush()
        try:
            return subprocess.run(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT,
                                  env=env, timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            out.write("\n(timed out)\n")
            return -1


def git(scratch, *args):
    return subprocess.run(["git", "-C", str(scratch), *args], check=True,
                          capture_output=True, text=True).stdout


def prepare(scratch):
    head = subprocess.run(["git", "-C", str(TREE), "rev-parse", "HEAD"], check=True,
                          capture_output=True, text=True).stdout.strip()
    if subprocess.run(["git", "-C", str(TREE), "status", "--porcelain", "--untracked-files=no"],
                      capture_output=True, text=True).stdout.strip():
        print("note: the work tree has uncommitted changes; the scratch copy has HEAD only")
    if not (scratch / ".git").exists():
        scratch.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["git", "clone", "-q", "--no-hardlinks", str(TREE), str(scratch)],
                       check=True)
    git(scratch, "fetch", "-q", str(TREE), head)
    git(scratch, "checkout", "-q", "--force", "--detach", head)
    git(scratch, "clean", "-q", "-fd", "--exclude=/build/", "--exclude=/mutation-logs/")
    (scratch / "mutation-logs").mkdir(exist_ok=True)
    if not (scratch / "build" / PRESET / "CMakeCache.txt").exists():
        subprocess.run(["cmake", "--preset", PRESET], cwd=scratch, check=True,
                       stdout=subprocess.DEVNULL)
    return head


def build(scratch, log):
    return run(["cmake", "--build", f"build/{PRESET}", "-j2"], scratch, log) == 0


def failed_tests(log):
    text = Path(log).read_text(errors="replace")
    failed = set()
    if "The following tests FAILED:" in text:
        tail = text.split("The following tests FAILED:", 1)[1]
        for m in re.finditer(r"^\s*\d+ - (\S+) \(", tail, re.M):
            failed.add(m.group(1))
    return failed


def run_suite(scratch, log, args, skip=()):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    cmd = ["ctest", "--test-dir", f"build/{PRESET}", "-j2", "--timeout", str(args.timeout),
           "--output-on-failure"]
    if not args.full:
        cmd.append("--stop-on-failure")
    if skip:
        cmd += ["-E", "^(" + "|".join(re.escape(t) for t in sorted(skip)) + ")$"]
    code = run(cmd, scratch, log, env=env)
    failed = failed_tests(log)
    if code != 0 and not failed:
        failed.add("(ctest exit %d)" % code)
    return failed


def confirmed_failures(scratch, logs, name, args, baseline):
    """Failures that happen again when the failing tests are run once more. A test that
    passes the second time failed for a reason of the machine (the e2e tests share X
    displays with whatever else runs), and the suite goes on without it."""
    flaky = set(baseline)
    for attempt in range(3):
        failed = run_suite(scratch, logs / f"{name}.tests.log", args, flaky)
        if not failed or any(t.startswith("(") for t in failed):
            return failed
        again = argparse.Namespace(**vars(args))
        again.full = True
        pattern = "^(" + "|".join(re.escape(t) for t in sorted(failed)) + ")$"
        log = logs / f"{name}.again.log"
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        run(["ctest", "--test-dir", f"build/{PRESET}", "--timeout", str(args.timeout),
             "--output-on-failure", "-R", pattern], scratch, log, env=env)
        firm = failed & failed_tests(log)
        if firm:
            return firm
        print(f"  (failed once, passed again, left out: {', '.join(sorted(failed))})",
              flush=True)
        flaky |= failed
    return set()


def apply(scratch, mutant, dry_run=False):
    path = scratch / mutant.file
    if not path.is_file():
        return f"no file {mutant.file}"
    text = path.read_text()
    for old, new in mutant.edits:
        count = text.count(old)
        if count != 1:
            return f"'{old}' occurs {count} times"
        text = text.replace(old, new)
    if not dry_run:
        path.write_text(text)
    return None


def restore(scratch, mutant):
    git(scratch, "checkout", "-q", "--", mutant.file)
    dirty = git(scratch, "status", "--porcelain", "--untracked-files=no").strip()
    if dirty:
        sys.exit(f"scratch copy not clean after {mutant.name}:\n{dirty}")


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("terminated"))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("names", nargs="*", help="mutants to run (default: all)")
    parser.add_argument("--scratch", default=str(TREE / "build" / "mutation-scratch"))
    parser.add_argument("--timeout", type=int, default=60,
                        help="seconds per test (the slowest takes 15 s unmutated; a test that "
                        "hangs with a mutant counts as failing)")
    parser.add_argument("--full", action="store_true", help="run every test for each mutant")
    parser.add_argument("--no-baseline", action="store_true",
                        help="skip the unmutated suite run (trust that it is green)")
    parser.add_argument("--list", action="store_true", help="list the mutants and stop")
    parser.add_argument("--check", action="store_true",
                        help="check that every mutant applies to this work tree, and stop")
    args = parser.parse_args()

    mutants = parse_mutants(MUTANTS)
    if args.list:
        for m in mutants:
            print(f"{m.name:32} {m.file:36} {m.why}")
        return 0
    if args.check:
        stale = [(m.name, why) for m in mutants
                 if (why := apply(TREE, m, dry_run=True))]
        for name, why in stale:
            print(f"STALE {name}: {why}")
        print(f"{len(mutants) - len(stale)} of {len(mutants)} mutants apply")
        return 1 if stale else 0
    unknown = set(args.names) - {m.name for m in mutants}
    if unknown:
        sys.exit("unknown mutants: " + ", ".join(sorted(unknown)))
    chosen = [m for m in mutants if not args.names or m.name in args.names]

    scratch = Path(args.scratch).resolve()
    head = prepare(scratch)
    logs = scratch / "mutation-logs"
    print(f"scratch copy {scratch} at {head[:10]}, preset {PRESET}, {len(chosen)} mutants",
          flush=True)
    if not build(scratch, logs / "baseline-build.log"):
        sys.exit(f"the unmutated tree does not build: see {logs}/baseline-build.log")
    baseline = set()
    if not args.no_baseline:
        full = argparse.Namespace(**vars(args))
        full.full = True
        baseline = run_suite(scratch, logs / "baseline-tests.log", full)
        print("baseline: " + ("all tests pass" if not baseline else
                              "failing already (ignored): " + ", ".join(sorted(baseline))),
              flush=True)

    results = []
    for m in chosen:
        started = time.monotonic()
        problem = apply(scratch, m)
        try:
            if problem:
                verdict, detail = "STALE", problem
            elif not build(scratch, logs / f"{m.name}.build.log"):
                verdict, detail = "BUILD-BROKEN", ""
            else:
                killers = confirmed_failures(scratch, logs, m.name, args, baseline)
                verdict = "KILLED" if killers else "SURVIVED"
                detail = ", ".join(sorted(killers))
        finally:  # also when interrupted or terminated
            if not problem:
                restore(scratch, m)
        minutes = (time.monotonic() - started) / 60
        print(f"{verdict:12} {m.name:32} {minutes:4.1f} min  {detail}", flush=True)
        results.append((m, verdict, detail))

    build(scratch, logs / "restore-build.log")  # leave the copy built as committed
    print("\nmutant                           verdict       killed by / note")
    for m, verdict, detail in results:
        print(f"{m.name:32} {verdict:13} {detail}")
        if verdict == "SURVIVED":
            print(f"{'':32} {'':13} ({m.file}: {m.why})")
    killed = sum(1 for _, v, _ in results if v == "KILLED")
    survived = sum(1 for _, v, _ in results if v == "SURVIVED")
    counted = killed + survived
    rate = 100.0 * killed / counted if counted else 0.0
    print(f"\nkill rate: {killed} / {counted} = {rate:.1f} %"
          f" (build-broken or stale, not counted: {len(results) - counted})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
