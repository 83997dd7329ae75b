#!/usr/bin/python3
"""Writes docs/performance.md from the result files of scripts/bench.sh.

Everything from a line "## Notes" on in the existing file is kept: the
causes of missed goals are written by people, not by this script.
"""
import argparse
import datetime
import os
import platform
import re
import statistics
import struct


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def key_values(path):
    values = {}
    if not os.path.exists(path):
        return values
    for line in open(path, encoding="utf-8", errors="replace"):
        for key, value in re.findall(r"(\w+)=(\S+)", line):
            values[key] = value
    return values


def first_paint(path):
    runs = {}
    for line in open(path):
        m = re.match(r"(\S+) run=(\d+) first_paint_ms=(\S+) rss_kb=(-?\d+)", line)
        if not m:
            continue
        program, run, ms, rss = m.group(1), int(m.group(2)), m.group(3), int(m.group(4))
        runs.setdefault(program, {})[run] = (None if ms == "none" else float(ms), rss)
    return runs


def cpu(path):
    found = {}
    if os.path.exists(path):
        for line in open(path):
            m = re.match(r"(hidden|shown): .* = ([\d.]+) % of one core", line)
            if m:
                found[m.group(1)] = float(m.group(2))
    return found


def clicks(path):
    found = {}
    if os.path.exists(path):
        for line in open(path):
            m = re.match(r"(clicks|p50|p99): ([\d.]+)", line)
            if m:
                found[m.group(1)] = float(m.group(2))
    return found


def cpu_model():
    for line in open("/proc/cpuinfo"):
        if line.startswith("model name"):
            return line.split(":", 1)[1].strip()
    return platform.processor() or "unknown"


def verdict(ok, value=0.0):
    if value != value:  # nan: the figure was not taken in this run
        return "not measured"
    return "meets" if ok else "**misses**"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--results", required=True)
    ap.add_argument("--skins", required=True)
    ap.add_argument("--wine-version", required=True)
    ap.add_argument("--command", required=True)
    ap.add_argument("--doc", required=True)
    a = ap.parse_args()
    r = a.results

    fp = first_paint(os.path.join(r, "first_paint.txt"))
    prog, floor = fp.get("Tarvenholm.exe", {}), fp.get("MinimalWindow.exe", {})
    pairs = [(prog[i][0], floor[i][0]) for i in sorted(prog) if i in floor and prog[i][0] and floor[i][0]]
    prog_ms = statistics.median(p for p, _ in pairs) if pairs else float("nan")
    floor_ms = statistics.median(f for _, f in pairs) if pairs else float("nan")
    ratio = statistics.median(p / f for p, f in pairs) if pairs else float("nan")
    missing = sum(1 for i in prog if not prog[i][0]) + sum(1 for i in floor if not floor[i][0])
    rss_prog = statistics.median(v[1] for v in prog.values()) / 1024 if prog else float("nan")
    rss_floor = statistics.median(v[1] for v in floor.values()) / 1024 if floor else float("nan")

    paint = key_values(os.path.join(r, "paint.txt"))
    tel = key_values(os.path.join(r, "telemetry.txt"))
    probe = key_values(os.path.join(r, "probe.txt"))
    cpus = cpu(os.path.join(r, "cpu.txt"))
    click = clicks(os.path.join(r, "click.txt"))

    images, count = 0, 0
    for name in sorted(os.listdir(a.skins)):
        size = png_size(os.path.join(a.skins, name)) if name.endswith(".png") else None
        if size:
            images += size[0] * size[1] * 4
            count += 1
    images_mb = images / 2**20
    ws_goal = 2 * images_mb + 20

    f = lambda key, d: float(d.get(key, "nan"))
    valid, blit = f("repaint_valid_us", paint), f("blit_window_us", paint)
    stale = f("repaint_stale_us", paint)
    cvalid, cblit, cstale = f("compose_valid_us", paint), f("blit_memory_us", paint), f("compose_stale_us", paint)
    gauge = f("gauge_to_screen_us", paint)
    p99, p50 = click.get("p99", float("nan")), click.get("p50", float("nan"))
    pass_us, raw_us = f("pass_us", tel), f("raw_us", tel)
    wine_ws = float(probe.get("workingset", "nan")) / 2**20

    now = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    load = open("/proc/loadavg").read().split()[:3]
    rows = [
        ("process start to first painted frame", f"{prog_ms:.0f} ms",
         f"minimal Win32 window: {floor_ms:.0f} ms", f"{ratio:.2f} x", "<= 1.2 x", verdict(ratio <= 1.2)),
        ("full repaint 1500 x 840, cached surfaces valid", f"{valid / 1000:.2f} ms",
         f"one BitBlt 1500 x 840 to the window: {blit / 1000:.2f} ms", f"{valid / blit:.2f} x", "<= 3 x",
         verdict(valid / blit <= 3)),
        ("  composition alone (off-screen), surfaces valid", f"{cvalid / 1000:.2f} ms",
         f"one BitBlt 1500 x 840 memory to memory: {cblit / 1000:.2f} ms", f"{cvalid / cblit:.2f} x", "(detail)", ""),
        ("full repaint, every cached surface stale", f"{stale / 1000:.2f} ms", "a 16 ms frame",
         f"{stale / 16000:.2f} of a frame", "<= 30 ms", verdict(stale <= 30000)),
        ("  composition alone (off-screen), surfaces stale", f"{cstale / 1000:.2f} ms", "a 16 ms frame",
         f"{cstale / 16000:.2f} of a frame", "(detail)", ""),
        ("one gauge's new value to the screen (stale gauge, its area composed, presented)",
         f"{gauge / 1000:.2f} ms", f"one BitBlt 1500 x 840 to the window: {blit / 1000:.2f} ms",
         f"{gauge / blit:.2f} x", "<= 2 ms", verdict(gauge <= 2000, gauge)),
        ("CPU while idle, hidden", f"{cpus.get('hidden', float('nan')):.2f} % of one core", "0", "", "<= 0.2 %",
         verdict(cpus.get("hidden", 99) <= 0.2)),
        ("CPU while idle, shown (system page, live gauges)", f"{cpus.get('shown', float('nan')):.2f} % of one core",
         "0", "", "<= 1.0 %", verdict(cpus.get("shown", 99) <= 1.0)),
        ("one telemetry pass, built-in scenario", f"{pass_us / 1000:.3f} ms",
         f"raw sensor queries alone: {raw_us / 1000:.3f} ms ({tel.get('queries', '?')} queries)",
         f"{pass_us / raw_us:.2f} x", "<= 1.2 x", verdict(pass_us / raw_us <= 1.2)),
        ("click on a performance tab to the first port write", f"p99 {p99:.0f} ms (p50 {p50:.0f} ms)",
         f"the worker's 60 ms tick ({click.get('clicks', 0):.0f} clicks)", "", "p99 <= 70 ms", verdict(p99 <= 70, p99)),
        ("working set after start (resident set)", f"{rss_prog:.1f} MB",
         f"decoded skin images: {images_mb:.1f} MB ({count} PNG, w x h x 4)", "", "(detail)", ""),
        ("  the minimal window's resident set (Wine alone)", f"{rss_floor:.1f} MB", "", "", "(detail)", ""),
        ("working set above the minimal Wine window", f"{rss_prog - rss_floor:.1f} MB",
         f"minimal window: {rss_floor:.1f} MB", "", "<= 30 MB", verdict(rss_prog - rss_floor <= 30)),
        ("  Wine's WorkingSetSize of the program after 10 s", f"{wine_ws:.1f} MB", "", "", "(detail)", ""),
    ]

    notes = ""
    if os.path.exists(a.doc):
        text = open(a.doc, encoding="utf-8").read()
        at = text.find("\n## Notes")
        if at >= 0:
            notes = text[at + 1:]

    out = []
    out.append("# Performance\n")
    out.append("Written by `scripts/bench.sh`; every figure is measured against its floor in the same run. "
               "Times are medians over the runs; ratios are medians of the paired ratios where the runs "
               "alternate. The machine is shared, so absolute times drift: read the ratios.\n")
    out.append("| | |\n|---|---|")
    out.append(f"| date | {now} |")
    out.append(f"| command | `{a.command}` |")
    out.append(f"| machine | {os.cpu_count()} processors (`nproc`), {cpu_model()} |")
    out.append(f"| load average at the end | {' '.join(load)} |")
    out.append(f"| Wine | {a.wine_version} (64-bit build of the program, Xvfb) |")
    out.append(f"| start-up runs | {len(pairs)} paired runs; {missing} runs without a detected first frame |")
    out.append(f"| repaints | {paint.get('repeats', '?')} per figure, window {paint.get('window', '?')}, "
               f"{paint.get('controls', '?')} controls |")
    out.append("")
    out.append("| measure | figure | floor in the same run | against the floor | goal | verdict |")
    out.append("|---|---|---|---|---|---|")
    for row in rows:
        out.append("| " + " | ".join(row) + " |")
    out.append("")
    out.append("How each figure is taken: `tests/bench/README.md`.\n")
    if notes:
        out.append(notes.rstrip() + "\n")
    with open(a.doc, "w", encoding="utf-8") as doc:
        doc.write("\n".join(out))


if __name__ == "__main__":
    main()
