#!/usr/bin/env python3
"""Writes the language files of the program folder from their UTF-8 sources.

The Windows profile reader takes Unicode only from UTF-16 little-endian files
with a byte-order mark, so every <LCID>.ini here becomes language\\<LCID>.lan
in that encoding, with CRLF line ends.

    make_languages.py --out <language folder> <source.ini>...
"""
import argparse
import os
import sys


def convert(source, out_dir):
    with open(source, encoding="utf-8") as f:
        lines = f.read().splitlines()
    for number, line in enumerate(lines, 1):
        text = line.strip()
        if text and not text.startswith((";", "[")) and "=" not in text:
            raise ValueError(f"{source}:{number}: not a section, a comment or key=value")
    stem = os.path.splitext(os.path.basename(source))[0]
    target = os.path.join(out_dir, stem + ".lan")
    with open(target, "wb") as f:
        f.write("\ufeff".encode("utf-16-le"))
        f.write(("\r\n".join(lines) + "\r\n").encode("utf-16-le"))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--out", required=True)
    ap.add_argument("sources", nargs="+")
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    try:
        for source in args.sources:
            convert(source, args.out)
    except ValueError as error:
        print(f"make_languages: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
