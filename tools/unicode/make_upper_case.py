#!/usr/bin/env python3
"""Makes resources/unicode/upper-case.txt, the one upper-case mapping that the program and the
modern box both use when a project ignores case, from Unicode's own data files (Debian's
unicode-data package holds them):

    tools/unicode/make_upper_case.py /usr/share/unicode > resources/unicode/upper-case.txt

The mapping is Unicode's full, language-independent upper-case mapping, as JavaScript's
toUpperCase gives it: the unconditional entries of SpecialCasing.txt, else the simple mapping of
UnicodeData.txt. It is written once and committed, so that no library's or browser's Unicode
version decides who gets in; regenerate it only together with a new lock data format."""

import os
import re
import sys


def read_mapping(folder):
    mapping = {}
    with open(os.path.join(folder, "UnicodeData.txt"), encoding="utf-8") as data:
        for line in data:
            fields = line.split(";")
            if fields[12]:
                mapping[int(fields[0], 16)] = [int(fields[12], 16)]
    with open(os.path.join(folder, "SpecialCasing.txt"), encoding="utf-8") as special:
        for line in special:
            fields = [field.strip() for field in line.split("#")[0].split(";")]
            if len(fields) < 5 or fields[4]:
                continue  # a comment, or a mapping under a condition (language, context)
            code = int(fields[0], 16)
            upper = [int(part, 16) for part in fields[3].split()]
            if upper == [code]:
                mapping.pop(code, None)
            else:
                mapping[code] = upper
    return mapping


def version(folder):
    with open(os.path.join(folder, "ReadMe.txt"), encoding="utf-8") as readme:
        found = re.search(r"Version (\d+\.\d+\.\d+)", readme.read())
    return found.group(1) if found else "unknown"


def runs(single):
    """Code points with a one-code-point mapping as runs FIRST COUNT STEP DELTA: the code points
    FIRST, FIRST + STEP, ... (COUNT of them) each map to itself + DELTA. Runs never overlap: a
    run of step 2 only steps over code points that map to themselves."""
    result = []
    codes = sorted(single)
    i = 0
    while i < len(codes):
        first = codes[i]
        delta = single[first] - first

        def length(step):
            count = 1
            while True:
                code = first + count * step
                if single.get(code, code) - code != delta or code not in single:
                    return count
                if step == 2 and code - 1 in single:
                    return count
                count += 1

        count, step = max((length(1), 1), (length(2), 2))
        result.append((first, count, step, delta))
        i += count if step == 1 else 1
        taken = {first + k * step for k in range(count)}
        while i < len(codes) and codes[i] in taken:
            i += 1
    return result


def main():
    folder = sys.argv[1]
    mapping = read_mapping(folder)
    single = {code: upper[0] for code, upper in mapping.items() if len(upper) == 1}
    print("# Upper-case mapping of Unicode %s, made by tools/unicode/make_upper_case.py." % version(folder))
    print("# HHHH N S D: the N code points HHHH, HHHH + S, ... each map to itself + D (decimal).")
    print("# HHHH > HHHH HHHH ...: the code point maps to these code points.")
    print("# Every other code point maps to itself.")
    for first, count, step, delta in runs(single):
        print("%04X %d %d %d" % (first, count, step, delta))
    for code in sorted(mapping):
        if len(mapping[code]) > 1:
            print("%04X > %s" % (code, " ".join("%04X" % part for part in mapping[code])))


main()
