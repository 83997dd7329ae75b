#!/usr/bin/python3
"""Process start to first painted frame, measured from outside.

Starts each program the same way (wine ./NAME.exe from the bin folder, one
persistent wineserver), then polls a few pixels of the X screen where the
centred 1500 x 840 window lies, every millisecond or so, until the run's
time is up. The first painted frame is the first sample at which every
probe shows what it shows at the end of the run and not what the screen
showed before the window. The probes sit in the window's outer margin,
which no later change of the page touches. At the end of each run it also
reads the process's resident set (VmRSS of /proc: Wine runs the program in
the process it started).

  first_paint.py --bin DIR --runs N --seconds S NAME.exe [NAME.exe ...]
prints one line per run and program:  NAME.exe run=<i> first_paint_ms=<f> rss_kb=<n>
Runs alternate between the programs (A B A B ...), after one warm-up each.
"""
import argparse
import os
import signal
import subprocess
import sys
import time

from Xlib import X, display

WINDOW = (1500, 840)
# Window-relative probes: left and right margins, bottom margin.
PROBES = [(15, 420), (1485, 420), (750, 825), (15, 60)]


def probe_points(screen_w, screen_h):
    x0 = (screen_w - WINDOW[0]) // 2
    y0 = (screen_h - WINDOW[1]) // 2
    return [(x0 + x, y0 + y) for x, y in PROBES]


def sample(root, points):
    return tuple(root.get_image(x, y, 1, 1, X.ZPixmap, 0xFFFFFFFF).data for x, y in points)


def rss_kb(pid):
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return -1


def run_once(wine, bin_dir, program, seconds, root, points):
    before = sample(root, points)
    start = time.monotonic()
    process = subprocess.Popen([wine, "./" + program], cwd=bin_dir, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    samples = []
    while time.monotonic() - start < seconds:
        samples.append((time.monotonic() - start, sample(root, points)))
        time.sleep(0.001)
    rss = rss_kb(process.pid)
    final = samples[-1][1]
    os.killpg(process.pid, signal.SIGKILL)
    process.wait()
    first = None
    if final != before:
        for t, pixels in samples:
            if pixels == final:
                first = t
                break
    # The ended copy's window and mutex must be gone before the next start.
    time.sleep(1.5)
    return first, rss, len(samples)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--seconds", type=float, default=6.0)
    parser.add_argument("--wine", default=os.environ.get("WINE", "wine"))
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()
    d = display.Display()
    screen = d.screen()
    root = screen.root
    points = probe_points(screen.width_in_pixels, screen.height_in_pixels)
    for run in range(-1, args.runs):
        for program in args.programs:
            first, rss, count = run_once(args.wine, args.bin, program, args.seconds, root, points)
            label = "warmup" if run < 0 else str(run)
            ms = "none" if first is None else f"{first * 1000:.1f}"
            print(f"{program} run={label} first_paint_ms={ms} rss_kb={rss} samples={count}", flush=True)


if __name__ == "__main__":
    sys.exit(main())
