#!/usr/bin/env python3
"""Checks the dialog and page templates of resources/templates (format: FORMAT.md).

    python3 check_templates.py                 check every template in this folder
    python3 check_templates.py FILE...         check only the given files
    python3 check_templates.py --render DIR    also draw each template as a PNG wireframe (needs PIL)
    python3 check_templates.py --self-test     prove that every check fires on a broken template
    python3 check_templates.py --face NAME     estimate text widths with another face (see below)

Checks: well-formed JSON without duplicate keys; the keys, types and styles the format knows;
names that make C++ identifiers, unique within a template; ids unique within a template (except
-1); every control inside the template; no two visible controls overlapping (a combo counts only
its edit field, an up-down aligned to its buddy sits inside that buddy, a group box may contain
whole controls); texts that fit their controls; the picture-panel placeholder hidden; and that
every template the program needs exists with its kind, caption and size. Which controls a page
or dialog needs, and of which type, the build checks: it compiles the names into the code.

Text widths are estimated in dialog units from a face's advance widths, scaled so that the
average width of the 52 letters is 4 units, as dialog units are defined; a line of text is 8
units high, and a text may overrun its control by TEXT_TOLERANCE (under a pixel). The face is
chosen with --face:
    liberation  Liberation Sans (Arial metrics), close to the proportions of MS Sans Serif; the
                default, and the face the fixed layouts need ("MS Sans Serif" should be mapped to it)
    dejavu      DejaVu Sans, what fontconfig gives for "MS Sans Serif" on Debian 12 when nothing
                maps it; wider, so some fixed labels do not fit
    flat        4 units for every character: the conservative rule for sizing new prompts

Exit status 0 when everything passes, 1 otherwise.
"""

import copy
import glob
import json
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

COMMON_STYLES = {"hidden", "disabled", "tabstop", "group"}
STYLES = {
    "static": {"left", "center", "right", "sunken", "border", "hidden", "noprefix"},
    "edit": {"autohscroll", "autovscroll", "multiline", "wantreturn", "vscroll", "hscroll",
             "readonly", "password", "number"},
    "button": {"default", "icon", "disabled"},
    "checkbox": {"group"},
    "radio": {"group"},
    "groupbox": set(),
    "combo": {"dropdown", "droplist", "sort", "autohscroll", "vscroll"},
    "listbox": {"vscroll", "hscroll", "notify", "extendedsel", "multiplesel", "sort",
                "nointegralheight", "border"},
    "listview": {"report", "singlesel", "nosortheader", "nolabelwrap", "border"},
    "updown": {"autobuddy", "setbuddyint", "nothousands", "alignright", "arrowkeys"},
    "colorbutton": set(),
    "progress": {"border"},
    "animation": {"transparent", "autoplay", "center"},
    "icon": set(),
    "line": set(),
}
# Styles of which a control may carry at most one.
EXCLUSIVE_STYLES = [{"left", "center", "right"}, {"dropdown", "droplist"}, {"extendedsel", "multiplesel"}]
TEXT_TYPES = {"static", "button", "checkbox", "radio", "groupbox", "edit"}
ITEM_TYPES = {"combo", "listbox"}
ICON_TYPES = {"button", "icon"}
TOP_KEYS = {"id", "name", "kind", "caption", "size", "font", "controls"}
CONTROL_KEYS = {"type", "id", "name", "text", "rect", "style", "items", "icon", "label", "tip"}
# Template names become struct names, control names struct members.
TEMPLATE_NAME = re.compile(r"[A-Z][A-Za-z0-9]*")
CONTROL_NAME = re.compile(r"[a-z][A-Za-z0-9]*")
CPP_KEYWORDS = {"alignas", "alignof", "and", "asm", "auto", "bitand", "bitor", "bool", "break",
                "case", "catch", "char", "class", "compl", "const", "constexpr", "continue",
                "decltype", "default", "delete", "do", "double", "else", "enum", "explicit",
                "export", "extern", "false", "float", "for", "friend", "goto", "if", "inline",
                "int", "long", "mutable", "namespace", "new", "noexcept", "not", "nullptr",
                "operator", "or", "private", "protected", "public", "register", "return",
                "short", "signed", "sizeof", "static", "struct", "switch", "template", "this",
                "throw", "true", "try", "typedef", "typeid", "typename", "union", "unsigned",
                "using", "virtual", "void", "volatile", "while", "xor"}
PANEL_NAME = "picturePanel"

# Height of a combo box's edit field; the rest of its rectangle is the drop-down list.
COMBO_FIELD_HEIGHT = 14
LINE_HEIGHT = 8
CHECK_INDICATOR = 12  # box of a check box or radio button, with the gap before its text
BUTTON_PADDING = 4
GROUPBOX_PADDING = 8

PAGE_SIZE = (375, 220)

# Every template the program builds: kind, caption and size.
REQUIRED = {
    1600: ("page", "", PAGE_SIZE),
    1900: ("page", "", PAGE_SIZE),
    2801: ("page", "", PAGE_SIZE),
    1000: ("page", "", PAGE_SIZE),
    1800: ("page", "", PAGE_SIZE),
    1700: ("page", "", PAGE_SIZE),
    2660: ("page", "", PAGE_SIZE),
    145: ("dialog", "Lock Properties", (323, 172)),
    2680: ("dialog", "Member Area", (260, 183)),
    2800: ("dialog", "Font", (245, 122)),
    150: ("dialog", "Logging", (257, 172)),
    1300: ("dialog", "Input Details", (219, 202)),
    2200: ("dialog", "Resources", (245, 207)),
    2300: ("dialog", "Copy", (262, 71)),
    2100: ("dialog", "New/Open Project", (312, 190)),
    2600: ("dialog", "About @ProductName@", (267, 188)),
    2410: ("dialog", "Publish to Folder", (260, 190)),
}

# Advance widths of the printable ASCII characters (space to tilde) in dialog units.
FACES = {
    "liberation": [
        1.9, 1.9, 2.43, 3.81, 3.81, 6.1, 4.57, 1.31, 2.28, 2.28, 2.67, 4.0, 1.9, 2.28, 1.9, 1.9,
        3.81, 3.81, 3.81, 3.81, 3.81, 3.81, 3.81, 3.81, 3.81, 3.81, 1.9, 1.9, 4.0, 4.0, 4.0, 3.81,
        6.96, 4.57, 4.57, 4.95, 4.95, 4.57, 4.19, 5.33, 4.95, 1.9, 3.43, 4.57, 3.81, 5.71, 4.95, 5.33,
        4.57, 5.33, 4.95, 4.57, 4.19, 4.95, 4.57, 6.47, 4.57, 4.57, 4.19, 1.9, 1.9, 1.9, 3.22, 3.81,
        2.28, 3.81, 3.81, 3.43, 3.81, 3.81, 1.9, 3.81, 3.81, 1.52, 1.52, 3.43, 1.52, 5.71, 3.81, 3.81,
        3.81, 3.81, 2.28, 3.43, 1.9, 3.81, 3.43, 4.95, 3.43, 3.43, 3.43, 2.29, 1.78, 2.29, 4.0],
    "dejavu": [
        2.06, 2.6, 2.98, 5.43, 4.12, 6.15, 5.05, 1.78, 2.53, 2.53, 3.24, 5.43, 2.06, 2.34, 2.06, 2.18,
        4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 4.12, 2.18, 2.18, 5.43, 5.43, 5.43, 3.44,
        6.48, 4.43, 4.44, 4.52, 4.99, 4.09, 3.73, 5.02, 4.87, 1.91, 1.91, 4.25, 3.61, 5.59, 4.84, 5.1,
        3.91, 5.1, 4.5, 4.11, 3.96, 4.74, 4.43, 6.4, 4.44, 3.96, 4.44, 2.53, 2.18, 2.53, 5.43, 3.24,
        3.24, 3.97, 4.11, 3.56, 4.11, 3.98, 2.28, 4.11, 4.1, 1.8, 1.8, 3.75, 1.8, 6.31, 4.1, 3.96,
        4.11, 4.11, 2.66, 3.37, 2.54, 4.1, 3.83, 5.3, 3.83, 3.83, 3.4, 4.12, 2.18, 4.12, 5.43],
    "flat": [4.0] * 95,
}
TEXT_TOLERANCE = 0.5
CHAR_WIDTH = {}


def use_face(name):
    CHAR_WIDTH.clear()
    CHAR_WIDTH.update({chr(32 + i): w for i, w in enumerate(FACES[name])})


use_face("liberation")


def text_width(text):
    return sum(CHAR_WIDTH.get(ch, 4.0) for ch in text)


def displayed_text(text, styles):
    """The text as shown: '&' marks the next character as accelerator, '&&' is one '&'."""
    if "noprefix" in styles:
        return text
    out, i = [], 0
    while i < len(text):
        if text[i] == "&" and i + 1 < len(text):
            i += 1
        out.append(text[i])
        i += 1
    return "".join(out)


def wrap_lines(text, width):
    """Word-wraps text into lines no wider than width; returns (line count, widest word)."""
    count, widest = 0, 0.0
    for paragraph in text.split("\n"):
        words = paragraph.split()
        count += 1
        line = 0.0
        for word in words:
            w = text_width(word)
            widest = max(widest, w)
            if line == 0.0:
                line = w
            elif line + CHAR_WIDTH[" "] + w <= width + TEXT_TOLERANCE:
                line += CHAR_WIDTH[" "] + w
            else:
                count += 1
                line = w
    return count, widest


class DuplicateKey(ValueError):
    pass


def _no_duplicates(pairs):
    seen = {}
    for key, value in pairs:
        if key in seen:
            raise DuplicateKey(f"duplicate key {key!r}")
        seen[key] = value
    return seen


def parse(text):
    return json.loads(text, object_pairs_hook=_no_duplicates)


def _is_int(v):
    return isinstance(v, int) and not isinstance(v, bool)


def _overlaps(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def _contains(outer, inner):
    return (outer[0] <= inner[0] and outer[1] <= inner[1]
            and inner[0] + inner[2] <= outer[0] + outer[2]
            and inner[1] + inner[3] <= outer[1] + outer[3])


def _styles(ctl):
    return set(ctl.get("style", []) or [])


def _label(ctl, index):
    text = ctl.get("text")
    shown = f" {text[:24]!r}" if isinstance(text, str) and text else ""
    return f"control #{index} ({ctl.get('type')} {ctl.get('name')}{shown})"


def _check_structure(tpl, errors):
    """Keys and value types; returns False when the controls cannot be checked further."""
    if not isinstance(tpl, dict):
        errors.append("the template is not a JSON object")
        return False
    for key in sorted(set(tpl) - TOP_KEYS):
        errors.append(f"unknown key {key!r}")
    for key in sorted(TOP_KEYS - set(tpl)):
        errors.append(f"missing key {key!r}")
    if not _is_int(tpl.get("id")):
        errors.append("id must be an integer")
    if not (isinstance(tpl.get("name"), str) and TEMPLATE_NAME.fullmatch(tpl["name"])):
        errors.append(f"name {tpl.get('name')!r} must be a capitalised identifier")
    if tpl.get("kind") not in ("dialog", "page"):
        errors.append(f"kind must be 'dialog' or 'page', not {tpl.get('kind')!r}")
    if not isinstance(tpl.get("caption"), str):
        errors.append("caption must be a string")
    size = tpl.get("size")
    if not (isinstance(size, list) and len(size) == 2 and all(_is_int(v) and v > 0 for v in size)):
        errors.append("size must be [width, height] with positive integers")
        return False
    font = tpl.get("font")
    if not (isinstance(font, list) and len(font) == 2 and isinstance(font[0], str) and font[0]
            and _is_int(font[1]) and font[1] > 0):
        errors.append("font must be [family, point size]")
    controls = tpl.get("controls")
    if not isinstance(controls, list):
        errors.append("controls must be a list")
        return False
    ok = True
    for i, ctl in enumerate(controls):
        if not isinstance(ctl, dict):
            errors.append(f"control #{i} is not an object")
            ok = False
            continue
        where = _label(ctl, i)
        for key in sorted(set(ctl) - CONTROL_KEYS):
            errors.append(f"{where}: unknown key {key!r}")
        kind = ctl.get("type")
        if kind not in STYLES:
            errors.append(f"{where}: unknown type {kind!r}")
            ok = False
            continue
        name = ctl.get("name")
        if not isinstance(name, str) or not CONTROL_NAME.fullmatch(name) or name in CPP_KEYWORDS:
            errors.append(f"{where}: name {name!r} is not an identifier starting in lower case")
            ok = False
        if not _is_int(ctl.get("id")) or (ctl["id"] < 0 and ctl["id"] != -1):
            errors.append(f"{where}: id must be a non-negative integer or -1")
            ok = False
        rect = ctl.get("rect")
        if not (isinstance(rect, list) and len(rect) == 4 and all(_is_int(v) for v in rect)
                and rect[2] > 0 and rect[3] > 0):
            errors.append(f"{where}: rect must be [x, y, width, height] with positive size")
            ok = False
        style = ctl.get("style", [])
        if not (isinstance(style, list) and all(isinstance(s, str) for s in style)):
            errors.append(f"{where}: style must be a list of strings")
            ok = False
            style = []
        for s in style:
            if s not in STYLES[kind] and s not in COMMON_STYLES:
                errors.append(f"{where}: unknown style {s!r} for a {kind}")
        if len(set(style)) != len(style):
            errors.append(f"{where}: a style is repeated")
        for group in EXCLUSIVE_STYLES:
            if len(group & set(style)) > 1:
                errors.append(f"{where}: styles {sorted(group & set(style))} exclude each other")
        if "text" in ctl:
            if kind not in TEXT_TYPES:
                errors.append(f"{where}: a {kind} has no text")
            elif not isinstance(ctl["text"], str):
                errors.append(f"{where}: text must be a string")
                ok = False
        if "items" in ctl:
            if kind not in ITEM_TYPES:
                errors.append(f"{where}: a {kind} has no items")
            elif not (isinstance(ctl["items"], list) and all(isinstance(s, str) for s in ctl["items"])):
                errors.append(f"{where}: items must be a list of strings")
        if "icon" in ctl:
            if kind not in ICON_TYPES:
                errors.append(f"{where}: a {kind} shows no icon")
            elif not _is_int(ctl["icon"]) or ctl["icon"] <= 0:
                errors.append(f"{where}: icon must be a positive resource number")
        if kind == "icon" and "icon" not in ctl:
            errors.append(f"{where}: an icon control needs 'icon'")
        if kind == "button" and ("icon" in style) != ("icon" in ctl):
            errors.append(f"{where}: a button shows an icon exactly when it has style 'icon' and an 'icon'")
        if "tip" in ctl and not (kind == "button" and "icon" in style
                                 and isinstance(ctl["tip"], str) and ctl["tip"]):
            errors.append(f"{where}: only an icon button has a 'tip', a text")
        if "label" in ctl and not (isinstance(ctl["label"], list) and ctl["label"]
                                   and all(isinstance(n, str) for n in ctl["label"])):
            errors.append(f"{where}: label must be a list of control names")
    return ok


def _visible_rect(ctl, controls, index):
    """The part of a control that occupies the window, or None when it follows its buddy."""
    x, y, w, h = ctl["rect"]
    if ctl["type"] == "combo":
        return [x, y, w, min(h, COMBO_FIELD_HEIGHT)]
    if ctl["type"] == "updown" and "autobuddy" in _styles(ctl) and index > 0:
        bx, by, bw, bh = controls[index - 1]["rect"]
        uw = min(w, bw)
        if "alignright" in _styles(ctl):
            return [bx + bw - uw, by, uw, bh]
    return [x, y, w, h]


def _check_layout(tpl, errors):
    width, height = tpl["size"]
    controls = tpl["controls"]
    ids = {}
    for i, ctl in enumerate(controls):
        if ctl["id"] != -1:
            if ctl["id"] in ids:
                errors.append(f"{_label(ctl, i)}: id {ctl['id']} is also used by control #{ids[ctl['id']]}")
            else:
                ids[ctl["id"]] = i

    names = {}
    for i, ctl in enumerate(controls):
        if ctl["name"] in names:
            errors.append(f"{_label(ctl, i)}: name {ctl['name']} is also used by control #{names[ctl['name']]}")
        else:
            names[ctl["name"]] = i

    for i, ctl in enumerate(controls):
        label = ctl.get("label", [])
        for named in label if isinstance(label, list) else []:
            if named not in names or not controls[names[named]].get("text"):
                errors.append(f"{_label(ctl, i)}: label {named!r} is no control with a text")

    rects = [_visible_rect(ctl, controls, i) for i, ctl in enumerate(controls)]
    for i, (ctl, r) in enumerate(zip(controls, rects)):
        if r[0] < 0 or r[1] < 0 or r[0] + r[2] > width or r[1] + r[3] > height:
            errors.append(f"{_label(ctl, i)}: {r} lies outside the template's {width} x {height}")

    defaults = [i for i, c in enumerate(controls) if c["type"] == "button" and "default" in _styles(c)]
    if len(defaults) > 1:
        errors.append(f"more than one default button: controls {defaults}")

    radios = [c for c in controls if c["type"] == "radio"]
    if radios and "group" not in _styles(radios[0]):
        errors.append("the first radio button must start a group (style 'group')")

    for i, ctl in enumerate(controls):
        if ctl["type"] == "updown" and "autobuddy" in _styles(ctl):
            if i == 0 or controls[i - 1]["type"] != "edit":
                errors.append(f"{_label(ctl, i)}: an up-down with 'autobuddy' must follow its edit")

    visible = [i for i, c in enumerate(controls) if "hidden" not in _styles(c)]
    for n, i in enumerate(visible):
        for j in visible[n + 1:]:
            a, b = controls[i], controls[j]
            if not _overlaps(rects[i], rects[j]):
                continue
            pair = {a["type"], b["type"]}
            # An up-down and the edit it is attached to.
            if "updown" in pair:
                up, other = (i, j) if a["type"] == "updown" else (j, i)
                if other == up - 1 and "autobuddy" in _styles(controls[up]):
                    continue
            # A group box frames the controls that lie wholly inside it.
            if a["type"] == "groupbox" and _contains(rects[i], rects[j]) and b["type"] != "groupbox":
                continue
            if b["type"] == "groupbox" and _contains(rects[j], rects[i]) and a["type"] != "groupbox":
                continue
            errors.append(f"{_label(a, i)} {rects[i]} overlaps {_label(b, j)} {rects[j]}")


def _check_texts(tpl, errors):
    for i, ctl in enumerate(tpl["controls"]):
        text = ctl.get("text")
        if not text:
            continue
        styles = _styles(ctl)
        shown = displayed_text(text, styles)
        x, y, w, h = ctl["rect"]
        where = _label(ctl, i)
        kind = ctl["type"]
        if kind == "static":
            lines, widest = wrap_lines(shown, w)
            if widest > w + TEXT_TOLERANCE:
                errors.append(f"{where}: a word {widest:.0f} units wide does not fit the width {w}")
            if lines * LINE_HEIGHT > h:
                errors.append(f"{where}: {lines} lines need {lines * LINE_HEIGHT} units, the height is {h}")
        elif kind in ("checkbox", "radio"):
            need = text_width(shown) + CHECK_INDICATOR
            if need > w + TEXT_TOLERANCE:
                errors.append(f"{where}: needs {need:.0f} units, the width is {w}")
            if h < LINE_HEIGHT:
                errors.append(f"{where}: height {h} is less than one line")
        elif kind == "button" and "icon" not in styles:
            need = text_width(shown) + BUTTON_PADDING
            if need > w + TEXT_TOLERANCE:
                errors.append(f"{where}: needs {need:.0f} units, the width is {w}")
            if h < LINE_HEIGHT:
                errors.append(f"{where}: height {h} is less than one line")
        elif kind == "groupbox":
            need = text_width(shown) + GROUPBOX_PADDING
            if need > w + TEXT_TOLERANCE:
                errors.append(f"{where}: its title needs {need:.0f} units, the width is {w}")


def _check_required(tpl, errors):
    tid = tpl["id"]
    if tid not in REQUIRED:
        errors.append(f"template {tid} is not one the program builds")
        return
    kind, caption, size = REQUIRED[tid]
    if tpl["kind"] != kind:
        errors.append(f"kind must be {kind!r}")
    if tpl["caption"] != caption:
        errors.append(f"caption must be {caption!r}, not {tpl['caption']!r}")
    if tuple(tpl["size"]) != size:
        errors.append(f"size must be {list(size)}, not {tpl['size']}")
    for c in tpl["controls"]:
        if c["name"] == PANEL_NAME and (c["type"] != "static" or "hidden" not in _styles(c)):
            errors.append(f"the picture-panel placeholder {PANEL_NAME} must be a hidden static")


def check_template(tpl):
    """Returns the list of faults found in one parsed template."""
    errors = []
    if not _check_structure(tpl, errors):
        return errors
    _check_layout(tpl, errors)
    _check_texts(tpl, errors)
    _check_required(tpl, errors)
    return errors


def check_file(path):
    name = os.path.basename(path)
    try:
        with open(path, encoding="utf-8") as f:
            tpl = parse(f.read())
    except (OSError, ValueError) as e:
        return None, [f"cannot read: {e}"]
    errors = check_template(tpl)
    if isinstance(tpl, dict) and _is_int(tpl.get("id")) and name != f"{tpl['id']}.json":
        errors.append(f"the file of template {tpl['id']} must be named {tpl['id']}.json")
    return tpl, errors


def check_set(paths, require_all):
    """Checks files; with require_all, also that every required template is among them."""
    report, found = {}, set()
    for path in paths:
        tpl, errors = check_file(path)
        if tpl is not None and isinstance(tpl, dict) and _is_int(tpl.get("id")):
            found.add(tpl["id"])
        report[os.path.basename(path)] = errors
    if require_all:
        missing = sorted(set(REQUIRED) - found)
        if missing:
            report["(folder)"] = [f"template {t} is missing" for t in missing]
    return report


def render(tpl, out_dir):
    """Draws a wireframe: 1 dialog unit = 1.5 x 1.625 pixels, scaled by 2."""
    from PIL import Image, ImageDraw
    sx, sy = 3.0, 3.25
    w, h = tpl["size"]
    img = Image.new("RGB", (int(w * sx) + 1, int(h * sy) + 1), "white")
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, w * sx, h * sy], outline="black")
    colours = {"static": "gray", "edit": "blue", "button": "darkgreen", "checkbox": "purple",
               "radio": "purple", "combo": "orange", "groupbox": "brown", "updown": "red",
               "listbox": "teal", "listview": "teal", "colorbutton": "magenta", "icon": "olive"}
    controls = tpl["controls"]
    for i, ctl in enumerate(controls):
        x, y, cw, ch = _visible_rect(ctl, controls, i)
        colour = colours.get(ctl["type"], "black")
        hidden = "hidden" in _styles(ctl)
        box = [x * sx, y * sy, (x + cw) * sx, (y + ch) * sy]
        d.rectangle(box, outline="lightgray" if hidden else colour)
        if ctl["type"] == "combo" and ctl["rect"][3] > COMBO_FIELD_HEIGHT:
            rx, ry, rw, rh = ctl["rect"]
            d.line([(rx + rw) * sx, (ry + COMBO_FIELD_HEIGHT) * sy, (rx + rw) * sx, (ry + rh) * sy],
                   fill="orange")
        label = ctl.get("text") or ""
        if "icon" in ctl:
            label = f"[icon {ctl['icon']}] {label}"
        if not label and ctl["id"] != -1:
            label = f"{ctl['type']} {ctl['id']}"
        _draw_wrapped(d, displayed_text(label, _styles(ctl)), box, cw, sx, sy,
                      "lightgray" if hidden else "black")
    path = os.path.join(out_dir, f"{tpl['id']}.png")
    img.save(path)
    return path


def _draw_wrapped(d, text, box, width_units, sx, sy, fill):
    lines = []
    for paragraph in text.split("\n"):
        line, cur = [], 0.0
        for word in paragraph.split():
            w = text_width(word)
            if line and cur + CHAR_WIDTH[" "] + w > width_units:
                lines.append(" ".join(line))
                line, cur = [word], w
            else:
                cur = w if not line else cur + CHAR_WIDTH[" "] + w
                line.append(word)
        lines.append(" ".join(line))
    for n, line in enumerate(lines):
        d.text((box[0] + 2, box[1] + 1 + n * LINE_HEIGHT * sy), line, fill=fill)


def self_test(paths):
    """Breaks copies of the real templates in known ways and makes sure each fault is reported."""
    templates = {}
    for path in paths:
        tpl, errors = check_file(path)
        if errors:
            print(f"self-test needs clean templates; {os.path.basename(path)} has faults")
            return 1
        templates[tpl["id"]] = tpl

    def first(tpl, pred):
        return next(c for c in tpl["controls"] if pred(c))

    def mutate(tid, change):
        t = copy.deepcopy(templates[tid])
        change(t)
        return t

    def set_id(t, old, new):
        first(t, lambda c: c["id"] == old)["id"] = new

    def move(t, c_id, x=None, y=None):
        c = first(t, lambda c: c["id"] == c_id)
        c["rect"][0] = c["rect"][0] if x is None else x
        c["rect"][1] = c["rect"][1] if y is None else y

    cases = [
        ("duplicate id", 1600, lambda t: set_id(t, 1609, 1608), "is also used by"),
        ("outside the template", 1600, lambda t: move(t, 1610, x=330), "outside"),
        ("outside at the bottom", 2300, lambda t: move(t, 2, y=60), "outside"),
        ("overlap", 1600, lambda t: move(t, 1609, x=180), "overlaps"),
        ("combo field overlap", 145, lambda t: move(t, 2816, y=40), "overlaps"),
        ("up-down off its buddy", 1900,
         lambda t: first(t, lambda c: c["id"] == 1917)["style"].remove("autobuddy"), "overlaps"),
        ("unknown style", 1900, lambda t: first(t, lambda c: c["id"] == 1901)["style"].append("bogus"),
         "unknown style"),
        ("style of another type", 2200,
         lambda t: first(t, lambda c: c["id"] == 2202)["style"].append("readonly"), "unknown style"),
        ("unknown type", 2800, lambda t: first(t, lambda c: c["id"] == 2803).update(type="toggle"),
         "unknown type"),
        ("unknown key", 2600, lambda t: first(t, lambda c: c["id"] == 1).update(colour=3),
         "unknown key"),
        ("missing name", 1000, lambda t: first(t, lambda c: c["id"] == 1013).pop("name"),
         "is not an identifier"),
        ("name no identifier", 1600,
         lambda t: first(t, lambda c: c["id"] == 1608).update(name="add button"), "is not an identifier"),
        ("keyword name", 1600, lambda t: first(t, lambda c: c["id"] == 1609).update(name="delete"),
         "is not an identifier"),
        ("duplicate name", 1600, lambda t: first(t, lambda c: c["id"] == 1609).update(name="addButton"),
         "is also used by"),
        ("template name", 145, lambda t: t.update(name="lock properties"), "capitalised identifier"),
        ("icon without style", 2801,
         lambda t: first(t, lambda c: c["id"] == 1185)["style"].remove("icon"), "style 'icon'"),
        ("clipped prompt", 1700, lambda t: first(t, lambda c: c.get("text", "").startswith("To add"))
         ["rect"].__setitem__(3, 16), "lines need"),
        ("clipped label", 1900, lambda t: first(t, lambda c: c.get("text") == "Password Label")
         ["rect"].__setitem__(2, 30), "lines need"),
        ("clipped button", 2200, lambda t: first(t, lambda c: c["id"] == 2201)["rect"].__setitem__(2, 40),
         "needs"),
        ("clipped check box", 1700, lambda t: first(t, lambda c: c["id"] == 1920)["rect"].__setitem__(2, 16),
         "needs"),
        ("group box cut", 2100, lambda t: first(t, lambda c: c["type"] == "groupbox")["rect"]
         .__setitem__(2, 40), "overlaps"),
        ("visible placeholder", 1000,
         lambda t: first(t, lambda c: c["name"] == "picturePanel")["style"].remove("hidden"),
         "hidden static"),
        ("wrong size", 150, lambda t: t.update(size=[257, 170]), "size must be"),
        ("wrong caption", 2100, lambda t: t.update(caption="New Project"), "caption must be"),
        ("two defaults", 145, lambda t: first(t, lambda c: c["id"] == 2)["style"].append("default"),
         "more than one default"),
        ("radio group", 2100, lambda t: first(t, lambda c: c["id"] == 2102)["style"].remove("group"),
         "start a group"),
        ("stray template", 2300, lambda t: t.update(id=2399), "not one the program builds"),
    ]
    failures = 0
    for name, tid, change, expect in cases:
        errors = check_template(mutate(tid, change))
        if not any(expect in e for e in errors):
            failures += 1
            print(f"FAIL {name}: expected a fault containing {expect!r}, got {errors}")
    for name, text, expect in [
            ("duplicate key", '{"id": 1, "id": 2}', "duplicate key"),
            ("not JSON", '{"id": 1,}', "")]:
        try:
            parse(text)
            failures += 1
            print(f"FAIL {name}: parsed without error")
        except ValueError as e:
            if expect not in str(e):
                failures += 1
                print(f"FAIL {name}: {e}")
    report = check_set([p for p in paths if not p.endswith("/2300.json")], require_all=True)
    if not any("template 2300 is missing" in e for e in report.get("(folder)", [])):
        failures += 1
        print("FAIL missing template: not reported")
    total = len(cases) + 3
    print(f"self-test: {total - failures} of {total} faults detected")
    return 1 if failures else 0


def main(argv):
    args = list(argv)
    render_dir = None
    if "--render" in args:
        k = args.index("--render")
        if k + 1 >= len(args):
            print("--render needs a folder")
            return 2
        render_dir = args[k + 1]
        del args[k:k + 2]
    if "--face" in args:
        k = args.index("--face")
        if k + 1 >= len(args) or args[k + 1] not in FACES:
            print(f"--face needs one of {sorted(FACES)}")
            return 2
        use_face(args[k + 1])
        del args[k:k + 2]
    selftest = "--self-test" in args
    if selftest:
        args.remove("--self-test")
    paths = args or sorted(glob.glob(os.path.join(HERE, "*.json")))
    if selftest:
        return self_test(paths)
    report = check_set(paths, require_all=not args)
    bad = 0
    for name, errors in report.items():
        for e in errors:
            print(f"{name}: {e}")
        bad += len(errors)
    if render_dir:
        os.makedirs(render_dir, exist_ok=True)
        for path in paths:
            tpl, errors = check_file(path)
            if tpl is not None and not any(e.startswith("cannot read") for e in errors):
                try:
                    render(tpl, render_dir)
                except Exception as e:  # a broken template cannot be drawn; the report says why
                    print(f"{os.path.basename(path)}: not drawn ({e})")
    checked = len([n for n in report if n != "(folder)"])
    print(f"{checked} templates checked, {bad} faults")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
