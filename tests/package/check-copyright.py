#!/usr/bin/env python3
"""Usage: check-copyright.py FILE

Prints what keeps FILE from being a machine-readable Debian copyright file (format 1.0), one
problem a line, and nothing when it is one."""
import re
import sys

FORMAT = "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
FIELD = re.compile(r"^([!-9;-~]+):(.*)$")


def paragraph(block):
    """The fields of one paragraph: name -> (first line, continuation lines)."""
    fields, name = {}, None
    for line in block.split("\n"):
        if line[:1] in (" ", "\t") and name:
            fields[name][1].append(line.strip())
            continue
        match = FIELD.match(line)
        if not match:
            raise ValueError(f"not a field: {line!r}")
        name = match.group(1)
        fields[name] = (match.group(2).strip(), [])
    return fields


def problems(text):
    try:
        header, *others = [paragraph(b) for b in re.split(r"\n\s*\n", text.strip("\n"))]
    except ValueError as error:
        return [str(error)]
    found = []
    if header.get("Format", ("",))[0] != FORMAT:
        found.append("the first paragraph has no Format: " + FORMAT)
    files_paragraphs = [fields for fields in others if "Files" in fields]
    if not files_paragraphs:
        found.append("no Files paragraph")
    needed, texts = set(), set()
    for fields in others:
        name, text = fields.get("License", ("", []))
        if "Files" in fields:
            if not fields.get("Copyright", ("",))[0] or not name:
                found.append(f"the Files paragraph for {fields['Files'][0]} lacks Copyright or License")
            needed.add(name)
        elif not (name and text):
            found.append("a paragraph is neither a Files paragraph nor a License with its text")
        if name and text:
            texts.add(name)
    found += [f"the license {name!r} has no text" for name in sorted(needed - texts)]
    return found


if __name__ == "__main__":
    with open(sys.argv[1], encoding="utf-8") as file:
        print("\n".join(problems(file.read())), end="")
