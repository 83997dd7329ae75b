#!/usr/bin/env python3
"""Lays every skin image out with its frames apart on a neutral background,
for looking at the whole skin at once; with --mockup, also composes the main
window's pages, the settings popup and the message box from the images at
their rectangles, with English texts. Not shipped.

    preview.py --skin <skin folder> --out <sheet.png> [--rsvg rsvg-convert]
               [--mockup <folder>]
"""
import argparse
import base64
import os
import subprocess

from make_skin import HERE, read_manifest

BACKGROUND = "#5A5A5A"      # neutral grey: dark and light parts both show
SHEET_WIDTH = 1860
GAP = 10
LABEL = 18


def frame_views(data, x, y, frames, fw, fh, scale):
    """One nested viewport per frame, so that frames stand apart."""
    out = []
    for i in range(frames):
        fx = x + i * (fw * scale + GAP)
        out.append(f'<rect x="{fx - 0.5}" y="{y - 0.5}" width="{fw * scale + 1}" height="{fh * scale + 1}" '
                   f'fill="none" stroke="#7A7A7A" stroke-dasharray="3 3"/>'
                   f'<svg x="{fx}" y="{y}" width="{fw * scale}" height="{fh * scale}" '
                   f'viewBox="{i * fw} 0 {fw} {fh}"><image width="{frames * fw}" height="{fh}" '
                   f'href="data:image/png;base64,{data}"/></svg>')
    return "".join(out)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--skin", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--rsvg", default="rsvg-convert")
    ap.add_argument("--mockup", help="folder for the composed window pictures")
    ap.add_argument("--languages", default="1033", help="LCIDs of the composed pictures, comma-separated")
    args = ap.parse_args()
    if args.mockup:
        import mockup
        mockup.render_all(args.skin, args.mockup, args.rsvg, [int(x) for x in args.languages.split(",")])

    parts, x, y, row_h = [], GAP, GAP, 0
    for name, frames, fw, fh in read_manifest(os.path.join(HERE, "images.txt")):
        with open(os.path.join(args.skin, name), "rb") as f:
            data = base64.b64encode(f.read()).decode("ascii")
        scale = 0.5 if fw >= 1000 else 1
        w = frames * (fw * scale + GAP) - GAP
        h = fh * scale + LABEL
        if x + w > SHEET_WIDTH and x > GAP:
            x, y, row_h = GAP, y + row_h + 2 * GAP, 0
        label = f"{name}  {fw}x{fh}" + (f" x{frames}" if frames > 1 else "") + (" (50%)" if scale != 1 else "")
        parts.append(f'<text x="{x}" y="{y + 13}" font-family="DejaVu Sans" font-size="12" '
                     f'fill="#F2F2F2">{label}</text>')
        parts.append(frame_views(data, x, y + LABEL, frames, fw, fh, scale))
        x += max(w, 7.2 * len(label)) + 3 * GAP
        row_h = max(row_h, h)
    height = y + row_h + GAP
    sheet = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{SHEET_WIDTH}" height="{height}">'
             f'<rect width="100%" height="100%" fill="{BACKGROUND}"/>{"".join(parts)}</svg>')
    subprocess.run([args.rsvg, "-f", "png", "-o", args.out], input=sheet.encode("utf-8"), check=True)


if __name__ == "__main__":
    main()
