#!/usr/bin/env python3
"""Writes one C++ header per template: its control ids by name and a struct of typed pointers.

    python3 make_forms.py OUTDIR TEMPLATE.json...

For a template named N it writes OUTDIR/forms/NForm.h with `struct NForm`, and OUTDIR/forms/
AllForms.h, which includes every header and lists the structs. See FORMAT.md.
"""

import json
import os
import sys

# The widget class the template builder makes for each control type, and the header declaring it.
WIDGETS = {
    "static": ("QLabel", "<QLabel>"),
    "edit": ("QLineEdit", "<QLineEdit>"),
    "button": ("QPushButton", "<QPushButton>"),
    "checkbox": ("QCheckBox", "<QCheckBox>"),
    "radio": ("QRadioButton", "<QRadioButton>"),
    "groupbox": ("QGroupBox", "<QGroupBox>"),
    "combo": ("QComboBox", "<QComboBox>"),
    "listbox": ("QListWidget", "<QListWidget>"),
    "listview": ("QTableView", "<QTableView>"),
    "updown": ("UpDown", '"framework/UpDown.h"'),
    "colorbutton": ("ColourButton", '"framework/ColourButton.h"'),
    "progress": ("QProgressBar", "<QProgressBar>"),
    "animation": ("QLabel", "<QLabel>"),
    "icon": ("QLabel", "<QLabel>"),
    "line": ("QFrame", "<QFrame>"),
}
MULTILINE_EDIT = ("QPlainTextEdit", "<QPlainTextEdit>")


def widget_of(control):
    if control["type"] == "edit" and "multiline" in control.get("style", []):
        return MULTILINE_EDIT
    return WIDGETS[control["type"]]


def form_header(tpl, source):
    struct = f"{tpl['name']}Form"
    controls = tpl["controls"]
    includes = sorted({widget_of(c)[1] for c in controls}, key=lambda h: (h.startswith("<"), h))
    title = f'"{tpl["caption"]}"' if tpl["caption"] else f"the {tpl['kind']}"
    local = ['"framework/FormControls.h"'] + [h for h in includes if not h.startswith("<")]
    out = [f"// Made by make_forms.py from {source}; change the template, not this file.",
           "#pragma once", ""]
    out += [f"#include {h}" for h in local]
    out += [""] + [f"#include {h}" for h in includes if h.startswith("<")]
    out += ["", f"// The controls of template {tpl['id']}, {title}, in template order.",
            f"struct {struct}", "{",
            f"    static constexpr int kTemplateId = {tpl['id']};",
            f'    static constexpr const char* kName = "{struct}";', "",
            "    // The numbered controls' ids.", "    struct Id", "    {"]
    out += [f"        static constexpr int {c['name']} = {c['id']};" for c in controls if c["id"] != -1]
    out += ["    };", ""]
    out += [f"    {widget_of(c)[0]}* {c['name']} = nullptr;" for c in controls]
    out += ["", "    // Hands every pointer with its control's name to bind.",
            "    template<class Binder> void BindEach(Binder& bind)", "    {"]
    out += [f'        bind({c["name"]}, "{c["name"]}");' for c in controls]
    out += ["    }", "};", ""]
    return struct, "\n".join(out)


def write_if_changed(path, text):
    # An unchanged header keeps its time stamp, so nothing that includes it is rebuilt.
    try:
        with open(path, encoding="utf-8") as f:
            if f.read() == text:
                return
    except OSError:
        pass
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    folder = os.path.join(argv[0], "forms")
    os.makedirs(folder, exist_ok=True)
    structs = []
    for path in sorted(argv[1:]):
        with open(path, encoding="utf-8") as f:
            tpl = json.load(f)
        struct, text = form_header(tpl, os.path.basename(path))
        write_if_changed(os.path.join(folder, f"{struct}.h"), text)
        structs.append(struct)
    structs.sort()
    every = ["// Made by make_forms.py: every template's form.", "#pragma once", ""]
    every += [f'#include "forms/{s}.h"' for s in structs]
    every += ["", "#include <tuple>", "", f"using AllForms = std::tuple<{', '.join(structs)}>;", ""]
    write_if_changed(os.path.join(folder, "AllForms.h"), "\n".join(every))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
