#!/usr/bin/env python3
"""Fails when an image the program or the framework loads is not in the built
skin folder, or is not the picture the skin promises.

The names come from two places: every image-name literal in the C++ sources
under app/ and hvui/ (a "%d" in a literal stands for any number), and the
skin's own list resources/skin/images.txt, which holds the names the design
gives before any code loads them.

    check_skin.py --source <repository> --skin <bin/skins/theme1> --app-icon <ico>
"""
import argparse
import os
import re
import struct
import sys

LITERAL = re.compile(r'L?"([A-Za-z0-9_./\\%-]+\.(?:png|ico|PNG|ICO))"')
SOURCE_SUFFIXES = (".cpp", ".h", ".hpp", ".inl")
TRAY_ICON = ("Quillane.ico", (16, 20, 24, 32))
APP_ICON_SIZES = (16, 20, 24, 32, 48, 64, 128, 256)


def names_in_sources(root):
    found = {}
    for folder in ("app", "hvui"):
        for base, _, files in os.walk(os.path.join(root, folder)):
            for name in files:
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.join(base, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        for match in LITERAL.finditer(line):
                            where = f"{os.path.relpath(path, root)}:{number}"
                            found.setdefault(match.group(1).replace("\\\\", "/"), where)
    return found


def manifest(root):
    images = []
    with open(os.path.join(root, "resources", "skin", "images.txt"), encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                name, frames, fw, fh = line.split()[:4]
                images.append((name, int(frames), int(fw), int(fh)))
    return images


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def ico_sizes(path):
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack("<HHH", data[:6])
    if reserved != 0 or kind != 1:
        return None
    sizes = []
    for i in range(count):
        w = data[6 + 16 * i]
        sizes.append(256 if w == 0 else w)
    return tuple(sorted(sizes))


def exists(skin, name):
    if "%" not in name:
        return os.path.isfile(os.path.join(skin, name))
    pattern = re.compile(re.escape(name).replace(re.escape("%d"), r"\d+") + "$")
    folder = os.path.join(skin, os.path.dirname(name))
    return os.path.isdir(folder) and any(pattern.match(os.path.join(os.path.dirname(name), f).lstrip("/"))
                                         for f in os.listdir(folder))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--source", required=True)
    ap.add_argument("--skin", required=True)
    ap.add_argument("--app-icon", required=True)
    args = ap.parse_args()
    problems = []

    for name, where in sorted(names_in_sources(args.source).items()):
        if not exists(args.skin, name):
            problems.append(f"{where} loads {name}, which the skin folder does not have")

    for name, frames, fw, fh in manifest(args.source):
        path = os.path.join(args.skin, name)
        size = png_size(path) if os.path.isfile(path) else None
        if size is None:
            problems.append(f"{name}: missing or not a PNG")
        elif size != (frames * fw, fh):
            problems.append(f"{name}: {size[0]}x{size[1]}, the skin promises {frames} x {fw}x{fh}")

    tray, tray_sizes = TRAY_ICON
    tray_path = os.path.join(args.skin, tray)
    got = ico_sizes(tray_path) if os.path.isfile(tray_path) else None
    if got != tray_sizes:
        problems.append(f"{tray}: sizes {got}, expected {tray_sizes}")
    got = ico_sizes(args.app_icon) if os.path.isfile(args.app_icon) else None
    if got != APP_ICON_SIZES:
        problems.append(f"program icon {args.app_icon}: sizes {got}, expected {APP_ICON_SIZES}")

    for problem in problems:
        print(problem)
    print(f"{len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
