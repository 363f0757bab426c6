#!/usr/bin/env python3
"""Turns upper-case.txt into the C++ tables the core compiles: make_upper_table.py IN OUT."""

import os
import sys

source, target = sys.argv[1], sys.argv[2]
runs = []
multi = []
with open(source, encoding="ascii") as table:
    for line in table:
        if line.startswith("#") or not line.strip():
            continue
        parts = line.split()
        if parts[1] == ">":
            multi.append((int(parts[0], 16), [int(part, 16) for part in parts[2:]]))
        else:
            runs.append((int(parts[0], 16), int(parts[1]), int(parts[2]), int(parts[3])))
runs.sort()
multi.sort()
os.makedirs(os.path.dirname(target), exist_ok=True)
with open(target, "w", encoding="ascii") as out:
    out.write("// Made from resources/unicode/upper-case.txt by make_upper_table.py.\n")
    out.write("constexpr UpperCaseRun kUpperCaseRuns[] = {\n")
    for first, count, step, delta in runs:
        out.write("    { 0x%X, %d, %d, %d },\n" % (first, count, step, delta))
    out.write("};\nconstexpr UpperCaseMulti kUpperCaseMulti[] = {\n")
    for code, parts in multi:
        out.write("    { 0x%X, { %s } },\n" % (code, ", ".join("0x%X" % part for part in parts)))
    out.write("};\n")
