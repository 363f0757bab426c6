#!/usr/bin/env python3
"""Checks `zarnith-cli locks` against an independent implementation of the lock data: Python's
hashlib and hmac, and AES-GCM from the cryptography package. Usage: check_lock_data.py ZARNITH_CLI"""

import base64
import hashlib
import hmac
import json
import os
import re
import subprocess
import sys
import tempfile
import unicodedata

from cryptography.hazmat.primitives.ciphers.aead import AESGCM

CLI = sys.argv[1]
UPPER_CASE_FILE = os.path.join(os.path.dirname(__file__), "..", "..", "resources", "unicode", "upper-case.txt")
LOW = "1000"
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def cli(*arguments):
    return subprocess.run([CLI, *arguments], capture_output=True)


def project(folder, name, locks, ignore_case):
    source = os.path.join(folder, name + ".json")
    target = os.path.join(folder, name + ".loc")
    with open(source, "w", encoding="utf-8") as file:
        json.dump({"ignoreCase": ignore_case, "locks": [
            {"userId": u, "password": p, "url": url, "target": t} for u, p, url, t in locks]}, file)
    run = cli("build", source, target)
    if run.returncode != 0:
        sys.exit("cannot build " + name + ": " + run.stderr.decode())
    return target


def lock_data(path, *options):
    run = cli("locks", path, *options)
    check(run.returncode == 0, "locks " + " ".join(options) + " fails: " + run.stderr.decode())
    return run.stdout, json.loads(run.stdout)


def upper_case_table():
    """The manual's upper-case table: "HHHH N S D" lines map the N code points HHHH, HHHH + S,
    ... to themselves + D; "HHHH > HHHH ..." lines map one code point to several."""
    table = {}
    with open(UPPER_CASE_FILE, encoding="ascii") as lines:
        for line in lines:
            parts = line.split()
            if not parts or parts[0].startswith("#"):
                continue
            if parts[1] == ">":
                table[int(parts[0], 16)] = "".join(chr(int(p, 16)) for p in parts[2:])
            else:
                first, count, step, delta = int(parts[0], 16), int(parts[1]), int(parts[2]), int(parts[3])
                for k in range(count):
                    table[first + k * step] = chr(first + k * step + delta)
    return table


UPPER = upper_case_table()


def text_form(text, fold):
    """NFC, then with fold every code point through the table; not normalised again."""
    text = unicodedata.normalize("NFC", text)
    return "".join(UPPER.get(ord(ch), ch) for ch in text) if fold else text


def login(data, user, password):
    """What the box does: derive K, look the id up, decrypt. None when no lock matches."""
    secret = text_form(user, data["fold"]).encode() + b"\0" + text_form(password, data["fold"]).encode()
    salt = base64.b64decode(data["salt"])
    key = hashlib.pbkdf2_hmac("sha256", secret, salt, data["iterations"], 32)
    lock_id = hmac.new(key, b"zarnith-lock-id", "sha256").digest()[:16]
    for lock in data["locks"]:
        if base64.b64decode(lock["id"]) == lock_id:
            aes = AESGCM(hmac.new(key, b"zarnith-lock-key", "sha256").digest())
            plain = aes.decrypt(base64.b64decode(lock["iv"]), base64.b64decode(lock["data"]), None)
            check(len(plain) % 64 == 0, "a record of %d bytes is not padded to 64" % len(plain))
            found = json.loads(plain.decode("utf-8").rstrip(" "))
            return found["url"], found["target"]
    return None


LOCKS = [
    ("ann", "Straße", "members/a.html", "_top"),
    ("bob", "ﬁnal ŉ", "b/ü.html", "main frame"),
    ("ANN", "STRASSE", "shadowed.html", ""),  # the same as ann's once folded
    ("carol", "", "c.html", ""),
    ("bob", "ﬁnal ŉ", "shadowed-too.html", "_blank"),  # the same as bob's even without folding
    ("Zoë", "Cafe\u0301 ƛɤ", "z.html", ""),  # stored decomposed; letters cased only after Unicode 15
]

with tempfile.TemporaryDirectory() as folder:
    folded = project(folder, "folded", LOCKS, 1)
    exact = project(folder, "exact", LOCKS, 0)

    raw, data = lock_data(folded, "--iterations", LOW, "--form", "preview")
    check(data["format"] == "zarnith-locks/2" and data["iterations"] == 1000 and data["fold"] is True,
          "header of folded data: " + repr({k: data[k] for k in data if k != "locks"}))
    check(len(base64.b64decode(data["salt"])) == 16, "salt is not 16 bytes")
    check(len(data["locks"]) == 4, "folded data keeps %d locks, expected 4" % len(data["locks"]))
    ids = [base64.b64decode(lock["id"]) for lock in data["locks"]]
    check(ids == sorted(ids), "records are not sorted by id")
    check(all(len(base64.b64decode(lock["iv"])) == 12 for lock in data["locks"]), "an iv is not 12 bytes")
    check(all(len(base64.b64decode(lock["id"])) == 16 for lock in data["locks"]), "an id is not 16 bytes")
    for user, password, expected in [
            ("ann", "Straße", ("members/a.html", "_top")),
            ("ANN", "STRASSE", ("members/a.html", "_top")),
            ("Ann", "strasse", ("members/a.html", "_top")),
            ("BOB", "FINAL ʼN", ("b/ü.html", "main frame")),
            ("carol", "", ("c.html", "")),
            ("ZOË", "CAFÉ ƛɤ", ("z.html", "")),
            ("zoe\u0308", "café ƛɤ", ("z.html", "")),
            ("ZOË", "CAFÉ ƛ\ua7cb", None),
            ("ann", "Strasse!", None)]:
        check(login(data, user, password) == expected, "folded login %s/%s" % (user, password))

    _, data = lock_data(exact, "--iterations", LOW, "--form", "preview")
    check(data["fold"] is False and len(data["locks"]) == 5, "exact data keeps %d locks" % len(data["locks"]))
    for user, password, expected in [
            ("ann", "Straße", ("members/a.html", "_top")),
            ("ANN", "STRASSE", ("shadowed.html", "")),
            ("Ann", "Straße", None),
            ("ann", "STRASSE", None),
            ("bob", "ﬁnal ŉ", ("b/ü.html", "main frame")),
            ("Zoe\u0308", "Café ƛɤ", ("z.html", "")),
            ("Zoë", "CAFÉ ƛɤ", None)]:
        check(login(data, user, password) == expected, "exact login %s/%s" % (user, password))

    # Nothing of a lock may be readable in the output, in any encoding a page could show. The
    # base64 values of the salt and the records are left out: random bytes spell a short name there
    # now and then.
    readable = re.sub(rb'"(salt|id|iv|data)":"[A-Za-z0-9+/]*=*"', b'', raw)
    for text in {field for lock in LOCKS for field in lock if len(field) > 1}:
        for encoded in (text.encode(), text.upper().encode(), json.dumps(text).encode()):
            check(encoded not in readable, "%r appears in clear" % text)

    _, again = lock_data(folded, "--iterations", LOW, "--form", "preview")
    check(again["salt"] != data["salt"], "two outputs share a salt")

    counted = cli("locks", exact, "--iterations", LOW, "--form", "preview")
    check(counted.stderr.count(b"\n") == 1 and counted.stderr.startswith(
        b"warning: locks with a password shorter than 8 characters (or none): 6;"),
          "short passwords are not counted: %r" % counted.stderr)
    _, published = lock_data(exact, "--iterations", "100000")
    check(published["iterations"] == 100000, "100000 iterations are not kept")
    for count in ("99999", "0", "-5", "10000001", "many"):
        run = cli("locks", exact, "--iterations", count)
        check(run.returncode == 1 and run.stdout == b"" and run.stderr.startswith(b"Please enter an integer"),
              "--iterations %s is not refused: %r" % (count, run.stderr))
    check(cli("locks", exact, "--iterations", "0", "--form", "preview").returncode == 1,
          "the preview takes 0 iterations")
    check(cli("locks", exact, "--form", "segment").returncode == 2, "--form segment is not a usage error")

    # An address the box would not follow is refused, naming the lock; the applet alone takes it.
    script = project(folder, "script", LOCKS[:1] + [("eve", "pw", "javascript:alert(1)", "")], 1)
    for arguments in (["locks", script], ["html", script, "--box", "both"]):
        run = cli(*arguments)
        check(run.returncode == 1 and run.stdout == b"" and run.stderr.startswith(b'Lock 2 ("eve") cannot be used'),
              "%s takes a script address: %r" % (arguments[0], run.stderr))
    check(cli("html", script, "--box", "classic").returncode == 0, "the classic page refuses a script address")

    one = project(folder, "one", LOCKS[:1], 1)
    _, default = lock_data(one)
    check(default["iterations"] == 600000 and login(default, "ann", "STRASSE") == ("members/a.html", "_top"),
          "default iteration count")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
