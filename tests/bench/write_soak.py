#!/usr/bin/python3
"""Writes docs/soak.md and its plot from the result files of scripts/soak.sh."""
import argparse
import csv
import datetime
import os

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

SERIES = [("handles", "handles"), ("gdi", "GDI objects"), ("user", "USER objects"),
          ("workingset_kb", "working set (KB)")]


def slope_per_hour(xs, ys):
    n = len(xs)
    if n < 2:
        return 0.0
    mx, my = sum(xs) / n, sum(ys) / n
    den = sum((x - mx) ** 2 for x in xs)
    return 0.0 if den == 0 else 60 * sum((x - mx) * (y - my) for x, y in zip(xs, ys)) / den


def read_kv(path):
    values = {}
    if os.path.exists(path):
        for token in open(path).read().split():
            if "=" in token:
                k, v = token.split("=", 1)
                values[k] = v
    return values


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--results", required=True)
    ap.add_argument("--doc", required=True)
    ap.add_argument("--plot", required=True)
    ap.add_argument("--command", required=True)
    ap.add_argument("--wine-version", required=True)
    a = ap.parse_args()
    r = a.results
    rows = list(csv.DictReader(open(os.path.join(r, "samples.csv"))))
    for row in rows:
        for k in row:
            row[k] = int(row[k])
    run = read_kv(os.path.join(r, "run.txt"))
    expected = read_kv(os.path.join(r, "expected.txt"))
    store = {}
    for line in open(os.path.join(r, "store.txt")):
        parts = line.split()
        if len(parts) == 3 and parts[1] == "REG_SZ":
            store[parts[0]] = parts[2]
    mismatch_log = os.path.join(r, "mismatches.log")
    mismatches = open(mismatch_log).read().splitlines() if os.path.exists(mismatch_log) else []

    # A series the platform cannot give (-1 throughout) is left out.
    series = [(key, label) for key, label in SERIES if any(row[key] >= 0 for row in rows)]
    # Minute 0 is right after start-up; the trend is taken from minute 2 on.
    steady = [row for row in rows if row["minute"] >= 2] or rows
    trend = {}
    for key, _ in series:
        xs = [row["minute"] for row in steady if row[key] >= 0]
        ys = [row[key] for row in steady if row[key] >= 0]
        trend[key] = (slope_per_hour(xs, ys), min(ys) if ys else -1, max(ys) if ys else -1)

    fig, axes = plt.subplots(len(series), 1, figsize=(8, 2.2 * len(series) + 1), sharex=True, squeeze=False)
    axes = [row[0] for row in axes]
    for ax, (key, label) in zip(axes, series):
        xs = [row["minute"] for row in rows if row[key] >= 0]
        ys = [row[key] for row in rows if row[key] >= 0]
        ax.plot(xs, ys, marker="o", markersize=3)
        ax.set_ylabel(label)
        ax.grid(True, alpha=0.3)
        if ys:
            low, high = min(ys), max(ys)
            pad = max(1, (high - low) * 0.5, high * 0.02)
            ax.set_ylim(low - pad, high + pad)
    axes[-1].set_xlabel("minute of the soak run")
    fig.suptitle("Tarvenholm.exe during the soak run (sampled every minute)")
    fig.tight_layout()
    fig.savefig(a.plot, dpi=80)

    final_checks = []
    for name in sorted(expected):
        ok = store.get(name) == expected[name]
        final_checks.append((name, expected[name], store.get(name, "(missing)"), "yes" if ok else "**no**"))

    now = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    out = ["# Soak run\n",
           f"Written by `{a.command}` on {now}; {a.wine_version}, 64-bit build under Xvfb, "
           f"{os.cpu_count()} processors.\n",
           f"The program ran on the simulated machine with its window shown for {run.get('minutes', '?')} minutes. "
           f"A script clicked through {run.get('rounds', '?')} rounds of changes, one action every "
           f"{run.get('step_s', '?')} s: the system page and a performance tab, the light page, the lighting switch, "
           "a light mode tile, the brightness slider, the speed slider or (static colour mode) the colour wheel; "
           "every third round unplugged and replugged the lighting device with `LightingPlug`. "
           "The telemetry refresh ran throughout. After every round the store was read back "
           "(`wine reg query`) and compared with what the round set.\n",
           f"- program crashed or ended: **{'yes' if run.get('crashed') == '1' else 'no'}**",
           f"- store mismatches after rounds: {len(mismatches)}",
           "", "## Samples\n",
           "| minute | handles | GDI objects | USER objects | working set (KB) | resident set (KB) |",
           "|---|---|---|---|---|---|"]
    shown = lambda value: "n/a" if value < 0 else str(value)
    for row in rows:
        out.append("| " + " | ".join(shown(row[k]) for k in
                                     ("minute", "handles", "gdi", "user", "workingset_kb", "rss_kb")) + " |")
    out += ["", "From minute 2 on (least-squares trend):", "",
            "| series | min | max | trend per hour |", "|---|---|---|---|"]
    for key, label in series:
        slope, low, high = trend[key]
        out.append(f"| {label} | {low} | {high} | {slope:+.1f} |")
    out += ["", "![samples](soak.png)", "", "## The store at the end\n",
            "| setting | last value set | in the store | match |", "|---|---|---|---|"]
    for name, want, have, ok in final_checks:
        out.append(f"| `{name}` | {want} | {have} | {ok} |")
    if mismatches:
        out += ["", "Mismatches after rounds (first 20):", ""]
        out += [f"- {line}" for line in mismatches[:20]]
    notes = ""
    if os.path.exists(a.doc):
        text = open(a.doc, encoding="utf-8").read()
        at = text.find("\n## Notes")
        if at >= 0:
            notes = text[at + 1:]
    if notes:
        out += ["", notes.rstrip()]
    with open(a.doc, "w", encoding="utf-8") as doc:
        doc.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
