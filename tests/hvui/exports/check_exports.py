#!/usr/bin/env python3
"""Compares HVUI.dll's export table with the public operations its headers declare.

A program built by another compiler links against the framework by name, so every
public or protected member function of a class marked HVUI_API (protected ones
are called by the program's derived windows) must be in the export table,
overload for overload. GCC does not export members defined inside the class body,
which is how operations went missing before; this check is what keeps them out of
line.

  check_exports.py --dll HVUI.dll --objdump OBJDUMP --cxxfilt CXXFILT HEADER_DIR...

Exit code 0 when nothing is missing; otherwise the missing operations are listed.
"""
import argparse
import pathlib
import re
import subprocess
import sys
from collections import defaultdict

EXPORTED_CLASS = re.compile(r"\b(class|struct)\s+HVUI_API\s+(\w+)\b[^;{]*\{")
ACCESS = re.compile(r"\s*(public|protected|private)\s*:(?!:)")
IDENT_BEFORE_PAREN = re.compile(r"(~?\w+)\s*$")


def strip_comments_and_literals(text):
    text = re.sub(r"//[^\n]*", "", text)
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    text = re.sub(r'L?"(\\.|[^"\\])*"', '""', text)
    text = re.sub(r"L?'(\\.|[^'\\])*'", "''", text)
    return "\n".join(l for l in text.splitlines() if not l.lstrip().startswith("#"))


def class_body(text, open_brace):
    """Text between the class's braces, and the index after the closing one."""
    depth = 0
    for i in range(open_brace, len(text)):
        if text[i] == "{":
            depth += 1
        elif text[i] == "}":
            depth -= 1
            if depth == 0:
                return text[open_brace + 1:i], i + 1
    raise ValueError("unbalanced braces")


def member_declarations(body, default_access):
    """(access, declaration text) for each member at the class's own level.

    A member ends at a ';' or at the closing brace of an inline body; nested
    bodies (functions, nested types, brace initialisers) are skipped whole."""
    access = default_access
    decl = ""
    depth = 0
    i = 0
    while i < len(body):
        c = body[i]
        if depth == 0:
            m = ACCESS.match(body, i) if decl.strip() == "" else None
            if m:
                access = m.group(1)
                i = m.end()
                decl = ""
                continue
            if c == ";":
                yield access, decl.strip()
                decl = ""
            elif c == "{":
                depth = 1
                decl += "{"
            else:
                decl += c
        else:
            if c == "{":
                depth += 1
            elif c == "}":
                depth -= 1
                if depth == 0:
                    decl += "}"
                    # An inline body closes a function; a brace initialiser of a
                    # data member is still followed by its ';'.
                    head = decl[:decl.index("{")]
                    if "(" in head and not re.search(r"=\s*$", head):
                        yield access, decl.strip()
                        decl = ""
        i += 1


def operation_name(decl):
    """The operation a member declaration declares, or None for anything else."""
    if re.match(r"^(friend|using|typedef|template|static_assert|enum|class|struct|union)\b", decl):
        return None
    head = decl.split("{", 1)[0]
    if re.search(r"=\s*(0|delete)\s*$", head.strip()):
        return None
    op = re.search(r"\boperator\s*(\(\)|[^\s(]+|\s+[\w\s:*&<>]+?)\s*\(", head)
    if op:
        symbol = op.group(1).strip()
        return "operator" + symbol if not re.match(r"\w", symbol) else "operator <conversion>"
    paren = head.find("(")
    if paren < 0:
        return None
    before = head[:paren]
    if "=" in before or before.count("<") != before.count(">"):
        return None
    m = IDENT_BEFORE_PAREN.search(before)
    if not m or m.group(1) in ("decltype", "alignas", "__declspec", "__attribute__"):
        return None
    return m.group(1)


def declared_operations(header_dirs):
    """{(class, operation): number of public and protected declarations}."""
    declared = defaultdict(int)
    for directory in header_dirs:
        for header in sorted(pathlib.Path(directory).glob("*.h")):
            text = strip_comments_and_literals(header.read_text(encoding="utf-8"))
            for m in EXPORTED_CLASS.finditer(text):
                kind, name = m.group(1), m.group(2)
                body, _ = class_body(text, m.end() - 1)
                default = "public" if kind == "struct" else "private"
                for access, decl in member_declarations(body, default):
                    if access == "private":
                        continue
                    op = operation_name(decl)
                    if op:
                        declared[(name, op)] += 1
    return declared


def exported_operations(dll, objdump, cxxfilt):
    """{(class, operation): set of exported signatures}."""
    dump = subprocess.run([objdump, "-p", dll], check=True, capture_output=True, text=True).stdout
    table = dump.split("[Ordinal/Name Pointer] Table", 1)
    if len(table) < 2:
        sys.exit(f"{dll}: no export table")
    names = re.findall(r"^\s*\[\s*\d+\]\s+(\S+)$", table[1].split("\n\n", 1)[0], flags=re.M)
    demangled = subprocess.run([cxxfilt], input="\n".join(names), check=True,
                               capture_output=True, text=True).stdout.splitlines()
    exported = defaultdict(set)
    for signature in demangled:
        signature = signature.replace("[abi:cxx11]", "")
        m = re.match(r"^(?:[\w:<>*& ]+\s)?(\w+)::(~?\w+|operator.*?)\((.*)$", signature)
        if not m or " for " in signature or "thunk" in signature:
            continue
        cls, op = m.group(1), m.group(2)
        if op.startswith("operator"):
            symbol = op[len("operator"):]
            op = "operator <conversion>" if re.match(r"\s\w", symbol) and symbol.strip() not in (
                "new", "delete", "new[]", "delete[]") else "operator" + symbol.strip()
        exported[(cls, op)].add(signature)
    return exported


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dll", required=True)
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--cxxfilt", required=True)
    parser.add_argument("headers", nargs="+")
    args = parser.parse_args()

    declared = declared_operations(args.headers)
    if not declared:
        sys.exit("no exported class found in the headers")
    exported = exported_operations(args.dll, args.objdump, args.cxxfilt)
    missing = []
    for (cls, op), count in sorted(declared.items()):
        have = len(exported.get((cls, op), ()))
        if have < count:
            missing.append(f"{cls}::{op}: {count} declared, {have} exported")
    print(f"{sum(declared.values())} public and protected operations of "
          f"{len({c for c, _ in declared})} classes checked")
    if missing:
        print("not exported by name:")
        print("\n".join("  " + m for m in missing))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
