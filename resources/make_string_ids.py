#!/usr/bin/env python3
"""Writes the header of the string table's ids from the table itself.

    python3 make_string_ids.py strings.json OUT/util/StringIds.h

Every entry of strings.json is `"<number>": { "name": "IDS_...", "text": "..." }`; the header
gives each name its number. A text may say @ProductName@, which the program replaces by the
product name when it reads the table. The header is rewritten only when it changes, so that an
edited text rebuilds nothing.
"""

import json
import os
import re
import sys

NAME = re.compile(r"IDS_[A-Z0-9_]+\Z")


def fail(message):
    sys.exit(f"strings.json: {message}")


def read_entries(path):
    def refuse_duplicates(pairs):
        keys = [key for key, _ in pairs]
        for key in keys:
            if keys.count(key) > 1:
                fail(f'"{key}" appears twice')
        return dict(pairs)

    with open(path, encoding="utf-8") as file:
        table = json.load(file, object_pairs_hook=refuse_duplicates)
    entries = []
    names = set()
    for key, entry in table.items():
        if not key.isdigit():
            fail(f'"{key}" is not a number')
        if not isinstance(entry, dict) or set(entry) != {"name", "text"}:
            fail(f'entry {key} must be {{ "name": "IDS_...", "text": "..." }}')
        name, text = entry["name"], entry["text"]
        if not isinstance(name, str) or not NAME.match(name):
            fail(f'entry {key}: the name "{name}" is not IDS_ followed by capitals, digits and _')
        if not isinstance(text, str):
            fail(f"entry {key}: the text is not a string")
        if name in names:
            fail(f"entry {key}: the name {name} is taken")
        names.add(name)
        entries.append((int(key), name))
    return entries


def header(entries):
    lines = ["// Made by make_string_ids.py from resources/strings.json; change the table, not this file.",
             "#pragma once", "",
             "// Numbers of the texts in the program's string table.",
             "enum StringId : int {"]
    lines += [f"    {name} = {number}," for number, name in entries]
    lines += ["};", ""]
    return "\n".join(lines)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    text = header(read_entries(sys.argv[1]))
    out = sys.argv[2]
    if os.path.exists(out):
        with open(out, encoding="utf-8") as file:
            if file.read() == text:
                return
    os.makedirs(os.path.dirname(out), exist_ok=True)
    with open(out, "w", encoding="utf-8") as file:
        file.write(text)


if __name__ == "__main__":
    main()
