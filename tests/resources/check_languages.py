#!/usr/bin/env python3
"""Checks the built language files the way the program reads them: UTF-16 LE
with a byte-order mark, section [LAN], every text key of
resources/language/keys.txt present once and filled, and key 328 a format
with exactly one integer placeholder. The text keys the code names (the
constants of every `namespace key` block under app/ and hvui/) must all be
in keys.txt, so a key the program starts to read cannot miss its texts.

    check_languages.py --source <repository> --languages <bin/language>
"""
import argparse
import os
import re
import sys

LANGUAGES = (1033, 2052, 1031, 1041, 1036, 1040, 1034, 1028, 1043, 1045)
MAX_TEXT = 511          # the profile reader's buffer cuts longer texts
PROGRESS_KEY = "328"
# printf conversions as the C runtime reads them; %% is a literal percent.
CONVERSION = re.compile(r"%(?:%|[-+ #0]*\d*(?:\.\d+)?(?:hh|h|ll|l|I64|I32|I)?([a-zA-Z]))")
INTEGER = set("diu")


def required_keys(root):
    keys = []
    with open(os.path.join(root, "resources", "language", "keys.txt"), encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                keys.append(line.split()[0])
    return keys


KEY_BLOCK = re.compile(r"namespace\s+key\s*\{(.*?)\}", re.S)
KEY_CONSTANT = re.compile(r"constexpr\s+int\s+(\w+)\s*=\s*(\d+)\s*;")


def keys_in_code(root):
    """(key, where) for every constant of a `namespace key` block."""
    found = []
    for folder in ("app", "hvui"):
        for base, _, files in os.walk(os.path.join(root, folder)):
            for name in files:
                if not name.endswith((".h", ".hpp", ".cpp")):
                    continue
                path = os.path.join(base, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    source = f.read()
                for block in KEY_BLOCK.finditer(source):
                    for constant in KEY_CONSTANT.finditer(block.group(1)):
                        found.append((constant.group(2), f"{os.path.relpath(path, root)}: {constant.group(1)}"))
    return found


def read_lan(path):
    """Answers (section -> [(key, value, line)]) or raises ValueError."""
    with open(path, "rb") as f:
        raw = f.read()
    if not raw.startswith(b"\xff\xfe"):
        raise ValueError("no UTF-16 LE byte-order mark")
    text = raw[2:].decode("utf-16-le")
    sections, current = {}, None
    for number, line in enumerate(text.splitlines(), 1):
        line = line.strip()
        if not line or line.startswith(";"):
            continue
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1].strip().upper(), [])
        elif "=" in line and current is not None:
            key, value = line.split("=", 1)
            current.append((key.strip(), value.strip(), number))
        else:
            raise ValueError(f"line {number}: outside a section or not key=value")
    return sections


def progress_problems(text):
    conversions = [m for m in CONVERSION.finditer(text) if m.group(0) != "%%"]
    if len(conversions) != 1 or conversions[0].group(1) not in INTEGER:
        return [f"key 328 must hold exactly one integer placeholder, holds {[m.group(0) for m in conversions]}"]
    stray = CONVERSION.sub("", text)
    if "%" in stray:
        return ["key 328 has a lone % (write %% for a percent sign)"]
    shown = text[:conversions[0].start()] + "55" + text[conversions[0].end():]
    return [] if "55" in shown.replace("%%", "%") else ["key 328 does not show its number"]


def check_file(path, keys):
    try:
        sections = read_lan(path)
    except (OSError, ValueError, UnicodeDecodeError) as error:
        return [str(error)]
    entries = sections.get("LAN")
    if entries is None:
        return ["no section [LAN]"]
    problems, seen = [], {}
    for key, value, number in entries:
        if key in seen:
            problems.append(f"line {number}: key {key} again (the reader takes the first)")
        seen.setdefault(key, value)
        if key not in keys:
            problems.append(f"line {number}: key {key} is not a text key the program reads")
        if len(value) > MAX_TEXT:
            problems.append(f"key {key}: {len(value)} characters, the reader keeps {MAX_TEXT}")
    for key in keys:
        if not seen.get(key):
            problems.append(f"key {key} missing or empty")
    if seen.get(PROGRESS_KEY):
        problems += progress_problems(seen[PROGRESS_KEY])
    return problems


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--source", required=True)
    ap.add_argument("--languages", required=True)
    args = ap.parse_args()
    keys = required_keys(args.source)
    failed = 0
    for key, where in keys_in_code(args.source):
        if key not in keys:
            print(f"{where} reads text key {key}, which resources/language/keys.txt does not list")
            failed += 1
    for lcid in LANGUAGES:
        problems = check_file(os.path.join(args.languages, f"{lcid}.lan"), keys)
        for problem in problems:
            print(f"{lcid}.lan: {problem}")
        failed += bool(problems)
    print(f"{failed} problem(s) in the keys and the {len(LANGUAGES)} language files")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
