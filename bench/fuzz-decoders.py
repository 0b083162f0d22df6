#!/usr/bin/env python3
"""Mutation fuzzing of every picture decoder through vantrel-decode in the sanitizer build.

Each round takes the small test pictures of one type, mutates them (bit flips, interesting
numbers, cut-off ends, repeated or removed blocks, all with a fixed seed) and decodes a
batch with `vantrel-decode`, which reads Qt's types in its own process and the others in
the sandboxed decoder helper. A batch that dies, a decoder helper that dies or answers
nonsense, and a decode that is stopped for time count as findings; every finding's file is
kept with, for helper types, the sanitizer report of the helper run directly on it.
Peak memory per type is the largest resident size of a batch (decoder helpers included).

    bench/fuzz-decoders.py [--build build/asan] [--minutes 30] [--seed 1] [--out DIR]
                           [--types RAW,HEIC,...]

WebP, HEIC, AVIF and camera RAW seeds are made at the start from the fixtures (ImageMagick,
heif-enc, tests/picture/make-dng.py).

The metadata targets (META-JPG, META-HEIC, META-DNG) read the camera record of pictures
that carry one (written by the exiv2 tool, and by heif-enc from such a JPEG) through
`vantrel-decode --metadata`: the helper's Exiv2 reading and the program's checks of its
answer. A helper death or a stop for time counts as a finding as for the decoders.

The first-sight target (PREVIEW-RAW) reads a camera RAW file's stored preview in the program,
as a jump to a picture not decoded ahead shows it, through `vantrel-decode --preview`.

The date-taken targets (DATES-JPG, DATES-HEIC, DATES-DNG) read the dates of such pictures,
with the offsets from UTC written in too, a batch at once through `vantrel-decode --dates`:
JPEG records by the program's own bounded reader, in process under the sanitizers, the
others by the helper in batches. A batch whose process dies, or in which a helper run died
or answered what the program refused (exit code 3), is taken apart file by file.

Ends with one line per type and a summary line `fuzz: N files, C crashes, H hangs`.
"""
import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FIXTURES = os.path.join(SOURCE, "tests", "picture", "fixtures")
# Type name -> (format code, seed files). Qt's own types run in process, the rest in the
# helper; the format code lets a helper finding be replayed directly.
TYPES = {
    "PNG": (75, ["png.png"]), "JPG": (10, ["jpg.jpg"]), "BMP": (6, ["bmp.bmp"]),
    "TIF": (3, ["tif.tif"]), "TGA": (4, ["tga.tga", "rle.tga"]), "MSP": (53, ["msp1.msp", "msp2.msp"]),
    "PCX": (1, ["pcx.pcx"]), "RAS": (55, ["ras.ras"]), "PSD": (76, ["psd.psd"]),
    "WPG": (54, ["wpg.wpg"]), "WMF": (15, ["wmf.wmf"]), "MAC": (51, ["mac.mac"]),
    "EPS": (16, ["eps.eps", "preview.eps"]),
}
MAKE_DNG = os.path.join(SOURCE, "tests", "picture", "make-dng.py")
# Types whose seed files are made at the start from the fixtures (each seed is a command
# writing OUT): WebP by ImageMagick, HEIC and AVIF by heif-enc, camera RAW by make-dng.py
# (with a preview, turned, and with none).
MADE = {
    "WEBP": (80, [["convert", "FIX/png.png", "webp:OUT"]]),
    "HEIC": (81, [["heif-enc", "-q", "80", "-o", "OUT.heic", "FIX/png.png"]]),
    "AVIF": (82, [["heif-enc", "-A", "-q", "80", "-o", "OUT.avif", "FIX/png.png"]]),
    "RAW": (83, [[sys.executable, MAKE_DNG, "OUT", "--size", "48x32", "--preview", "FIX/jpg.jpg"],
                 [sys.executable, MAKE_DNG, "OUT", "--size", "48x32", "--orientation", "6"],
                 [sys.executable, MAKE_DNG, "OUT", "--size", "64x40", "--preview", "FIX/jpg.jpg",
                  "--orientation", "3"]]),
}
# A JPEG with a camera record: date, camera, exposure, lens, flash and position.
EXIF_JPEG = ["bash", "-c", "cp FIX/jpg.jpg OUT.jpg && exiv2 -M'set Exif.Image.Make Tessaro' "
             "-M'set Exif.Image.Model Tessaro K7' -M'set Exif.Photo.DateTimeOriginal "
             "2024:06:15 14:03:07' -M'set Exif.Photo.ExposureTime 1/250' "
             "-M'set Exif.Photo.FNumber 28/10' -M'set Exif.Photo.ISOSpeedRatings 400' "
             "-M'set Exif.Photo.FocalLength 50/1' -M'set Exif.Photo.LensModel Vario' "
             "-M'set Exif.Photo.Flash 25' -M'set Exif.GPSInfo.GPSLatitude 48/1 51/1 296/10' "
             "-M'set Exif.GPSInfo.GPSLatitudeRef N' -M'set Exif.GPSInfo.GPSLongitude 2/1 17/1 "
             "402/10' -M'set Exif.GPSInfo.GPSLongitudeRef W' OUT.jpg"]
METADATA = {
    "META-JPG": (10, [EXIF_JPEG]),
    "META-HEIC": (81, [["bash", "-c", EXIF_JPEG[2] + " && heif-enc -q 80 OUT.jpg -o OUT.heic"]]),
    "META-DNG": (83, [["bash", "-c", f"{sys.executable} {MAKE_DNG} OUT.dng --size 48x32 "
                       "--preview FIX/jpg.jpg && " + EXIF_JPEG[2].split(" && ")[1]
                       .replace("OUT.jpg", "OUT.dng")]]),
}
# The same pictures with the other dates and their offsets, for the date-taken targets.
DATED = (" && exiv2 -M'set Exif.Photo.OffsetTimeOriginal +02:00' "
         "-M'set Exif.Photo.DateTimeDigitized 2024:06:15 14:03:09' "
         "-M'set Exif.Photo.OffsetTimeDigitized -05:30' -M'set Exif.Image.DateTime "
         "2024:06:16 08:00:00' -M'set Exif.Photo.OffsetTime +00:00' OUT.")
DATES = {
    "DATES-JPG": (10, [["bash", "-c", EXIF_JPEG[2] + DATED + "jpg"]]),
    "DATES-HEIC": (81, [["bash", "-c", EXIF_JPEG[2] + DATED + "jpg && heif-enc -q 80 OUT.jpg "
                         "-o OUT.heic"]]),
    "DATES-DNG": (83, [["bash", "-c", METADATA["META-DNG"][1][0][2] + DATED + "dng"]]),
}
# The first sight of a camera RAW file (PREVIEW-RAW): its stored preview and thumbnail found by the
# program's own bounded reader of the file's directories and decoded in process, under the
# sanitizers, through `vantrel-decode --preview`.
PREVIEWS = {"PREVIEW-RAW": (83, [MADE["RAW"][1][0], MADE["RAW"][1][2],
                                 ["bash", "-c", "convert FIX/jpg.jpg -resize 24x16! OUT.ppm && "
                                  f"{sys.executable} {MAKE_DNG} --size 48x32 --preview "
                                  "FIX/jpg.jpg --thumbnail OUT.ppm --orientation 8 OUT"]])}
MADE.update(METADATA)
MADE.update(DATES)
MADE.update(PREVIEWS)
INTERESTING = [0, 1, 0x7F, 0x80, 0xFF, 0x100, 0x7FFF, 0x8000, 0xFFFF, 0x10000, 0x7FFFFFFF,
               0x80000000, 0xFFFFFFFF]
HELPER_DEATH = re.compile(r"stopped unexpectedly|without an answer|no usable answer|"
                          r"handed back no pixels|was killed")
HANG = re.compile(r"took too long|processor time")


def mutate(data, rng):
    data = bytearray(data)
    for _ in range(rng.randint(1, 4)):
        kind = rng.randrange(6)
        pos = rng.randrange(len(data)) if data else 0
        if kind == 0 and data:
            data[pos] ^= 1 << rng.randrange(8)
        elif kind == 1 and data:
            data[pos] = rng.randrange(256)
        elif kind == 2 and len(data) > 4:
            width = rng.choice([1, 2, 4])
            value = rng.choice(INTERESTING) & ((1 << (8 * width)) - 1)
            order = rng.choice(["little", "big"])
            pos = min(pos, len(data) - width)
            data[pos:pos + width] = value.to_bytes(width, order)
        elif kind == 3 and len(data) > 8:
            del data[rng.randrange(8, len(data)):]
        elif kind == 4 and data:
            end = min(len(data), pos + rng.randint(1, 64))
            data[pos:pos] = data[pos:end] * rng.randint(1, 8)
        elif kind == 5 and len(data) > 16:
            end = min(len(data), pos + rng.randint(1, 32))
            del data[pos:end]
    return bytes(data)


def make_seeds(commands, where):
    """The bytes of the seed files the commands write (those that failed left out)."""
    made = []
    for i, command in enumerate(commands):
        out = os.path.join(where, f"seed{i}")
        argv = [a.replace("FIX", FIXTURES).replace("OUT", out) for a in command]
        written = next((a.split(":")[-1] for a in argv if out in a), out)
        if argv[0] == "bash":  # the script's last word names what it wrote
            written = argv[-1].split()[-1]
        try:
            subprocess.run(argv, check=True, capture_output=True, timeout=120)
            made.append(open(written, "rb").read())
        except (OSError, subprocess.SubprocessError):
            pass
    return made


def run_batch(tool, files, timeout, extra=()):
    """Decodes files in one process: (lines by file, peak KB, "ok" | "died" | "timeout")."""
    cmd = ["/usr/bin/time", "-f", "%M", tool] + list(extra) + files
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen",
               ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:allocator_may_return_null=1",
               UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1")
    try:
        p = subprocess.run(cmd, capture_output=True, text=True, errors="replace",
                           timeout=timeout, env=env)
    except subprocess.TimeoutExpired:
        return {}, 0, "timeout"
    peak = 0
    tail = p.stderr.strip().splitlines()
    if tail and tail[-1].strip().isdigit():
        peak = int(tail[-1])
    lines = {}
    for line in p.stdout.splitlines():
        path, _, rest = line.partition("\t")
        lines[path] = rest
    died = p.returncode not in (0, 1) or "ERROR: AddressSanitizer" in p.stderr or \
        "runtime error:" in p.stderr
    return lines, peak, "died" if died else "ok"


def replay_helper(helper, code, path, task=""):
    """The helper's own sanitizer report for one file."""
    with tempfile.NamedTemporaryFile() as pixels:
        env = {"PATH": "/usr/bin:/bin", "ASAN_OPTIONS": "detect_leaks=0"}
        script = 'exec "$0" --format "$1" --memory 1073741824 $4 3<"$2" 4<>"$3"'
        try:
            p = subprocess.run(["bash", "-c", script, helper, str(code), path, pixels.name,
                                task],
                               stdin=subprocess.DEVNULL, capture_output=True, text=True,
                               errors="replace", timeout=60, env=env)
        except subprocess.TimeoutExpired:
            return "replay: still running after 60 s"
        return p.stdout + p.stderr[-20000:]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(SOURCE, "build", "asan"))
    ap.add_argument("--minutes", type=float, default=30)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--batch", type=int, default=40)
    ap.add_argument("--out", default=None)
    ap.add_argument("--types", default=None, help="only these, e.g. RAW,HEIC")
    args = ap.parse_args()
    tool = os.path.join(args.build, "bench", "vantrel-decode")
    helper = os.path.join(args.build, "app", "vantrel-decoder")
    for exe in (tool, helper):
        if not os.access(exe, os.X_OK):
            sys.exit(f"build {exe} first")
    out = args.out or tempfile.mkdtemp(prefix="vantrel-fuzz-")
    os.makedirs(out, exist_ok=True)
    rng = random.Random(args.seed)
    seeds = {t: [open(os.path.join(FIXTURES, f), "rb").read() for f in files]
             for t, (_, files) in TYPES.items()}
    made_dir = tempfile.mkdtemp(prefix="vantrel-fuzz-seeds-")
    for kind, (code, commands) in MADE.items():
        made = make_seeds(commands, made_dir)
        if made:
            TYPES[kind] = (code, [])
            seeds[kind] = made
        else:
            print(f"{kind}: no seed could be made (tool missing?); type left out")
    shutil.rmtree(made_dir, ignore_errors=True)
    if args.types:
        wanted = set(args.types.upper().split(","))
        for kind in [t for t in TYPES if t not in wanted]:
            del TYPES[kind]
    stats = {t: {"files": 0, "crashes": 0, "hangs": 0, "peak": 0, "shown": 0} for t in TYPES}
    deadline = time.time() + args.minutes * 60
    work = tempfile.mkdtemp(prefix="vantrel-fuzz-work-")
    round_no = 0
    while time.time() < deadline:
        kind = list(TYPES)[round_no % len(TYPES)]
        code = TYPES[kind][0]
        metadata = kind in METADATA
        extra = (["--metadata"] if metadata else ["--dates"] if kind in DATES
                 else ["--preview"] if kind in PREVIEWS else [])
        round_no += 1
        files = []
        for i in range(args.batch):
            base = kind.split("-")[-1]
            suffix = "dng" if base in ("RAW", "DNG") else base.lower()  # RAW is told by name
            path = os.path.join(work, f"{kind}-{round_no}-{i}.{suffix}")
            with open(path, "wb") as f:
                f.write(mutate(rng.choice(seeds[kind]), rng))
            files.append(path)
        lines, peak, status = run_batch(tool, files, timeout=30 + 20 * args.batch, extra=extra)
        s = stats[kind]
        s["peak"] = max(s["peak"], peak)
        if status != "ok":  # find the file that takes the process down, one by one
            for path in files:
                one, one_peak, one_status = run_batch(tool, [path], timeout=60, extra=extra)
                s["peak"] = max(s["peak"], one_peak)
                if one_status != "ok":
                    s["crashes" if one_status == "died" else "hangs"] += 1
                    shutil.copy(path, out)
                    one[path] = "(counted)"
                lines.update(one)
        for path in files:
            s["files"] += 1
            text = lines.get(path, "")
            if text == "(counted)":
                pass
            elif not text.startswith("error:"):
                s["shown"] += 1 if text else 0
            elif HELPER_DEATH.search(text):
                s["crashes"] += 1
                shutil.copy(path, out)
                with open(os.path.join(out, os.path.basename(path) + ".report"), "w") as r:
                    r.write(text + "\n" + replay_helper(helper, code, path,
                                                        "--task metadata" if metadata else ""))
            elif HANG.search(text):
                s["hangs"] += 1
                shutil.copy(path, out)
            os.remove(path)
    shutil.rmtree(work, ignore_errors=True)
    print(f"{'type':9} {'files':>7} {'shown':>6} {'crashes':>7} {'hangs':>5} {'peak MB':>8}")
    for t, s in stats.items():
        print(f"{t:9} {s['files']:7d} {s['shown']:6d} {s['crashes']:7d} {s['hangs']:5d} "
              f"{s['peak'] / 1024:8.0f}")
    total = {k: sum(s[k] for s in stats.values()) for k in ("files", "crashes", "hangs")}
    print(f"findings kept in {out}")
    print(f"fuzz: {total['files']} files, {total['crashes']} crashes, {total['hangs']} hangs")
    return 1 if total["crashes"] or total["hangs"] else 0


if __name__ == "__main__":
    sys.exit(main())
