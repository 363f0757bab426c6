#!/usr/bin/env python3
"""Checks `zarnith-cli locks` against an independent implementation of the lock data: Python's
hashlib and hmac, and AES-GCM from the cryptography package. Usage: check_lock_data.py ZARNITH_CLI"""

import base64
import hashlib
import hmac
import json
import os
import subprocess
import sys
import tempfile

from cryptography.hazmat.primitives.ciphers.aead import AESGCM

CLI = sys.argv[1]
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


def login(data, user, password):
    """What the box does: derive K, look the id up, decrypt. None when no lock matches."""
    if data["fold"]:
        user, password = user.upper(), password.upper()
    secret = user.encode() + b"\0" + password.encode()
    salt = base64.b64decode(data["salt"])
    key = hashlib.pbkdf2_hmac("sha256", secret, salt, data["iterations"], 32)
    lock_id = hmac.new(key, b"zarnith-lock-id", "sha256").digest()[:16]
    for lock in data["locks"]:
        if base64.b64decode(lock["id"]) == lock_id:
            aes = AESGCM(hmac.new(key, b"zarnith-lock-key", "sha256").digest())
            plain = aes.decrypt(base64.b64decode(lock["iv"]), base64.b64decode(lock["data"]), None)
            found = json.loads(plain.decode("utf-8"))
            return found["url"], found["target"]
    return None


LOCKS = [
    ("ann", "Straße", "members/a.html", "_top"),
    ("bob", "ﬁnal ŉ", "b/ü.html", "main frame"),
    ("ANN", "STRASSE", "shadowed.html", ""),  # the same as ann's once folded
    ("carol", "", "c.html", ""),
    ("bob", "ﬁnal ŉ", "shadowed-too.html", "_blank"),  # the same as bob's even without folding
]

with tempfile.TemporaryDirectory() as folder:
    folded = project(folder, "folded", LOCKS, 1)
    exact = project(folder, "exact", LOCKS, 0)

    raw, data = lock_data(folded, "--iterations", LOW, "--form", "preview")
    check(data["format"] == "zarnith-locks/1" and data["iterations"] == 1000 and data["fold"] is True,
          "header of folded data: " + repr({k: data[k] for k in data if k != "locks"}))
    check(len(base64.b64decode(data["salt"])) == 16, "salt is not 16 bytes")
    check(len(data["locks"]) == 3, "folded data keeps %d locks, expected 3" % len(data["locks"]))
    check(all(len(base64.b64decode(lock["iv"])) == 12 for lock in data["locks"]), "an iv is not 12 bytes")
    check(all(len(base64.b64decode(lock["id"])) == 16 for lock in data["locks"]), "an id is not 16 bytes")
    for user, password, expected in [
            ("ann", "Straße", ("members/a.html", "_top")),
            ("ANN", "STRASSE", ("members/a.html", "_top")),
            ("Ann", "strasse", ("members/a.html", "_top")),
            ("BOB", "FINAL ʼN", ("b/ü.html", "main frame")),
            ("carol", "", ("c.html", "")),
            ("ann", "Strasse!", None)]:
        check(login(data, user, password) == expected, "folded login %s/%s" % (user, password))

    _, data = lock_data(exact, "--iterations", LOW, "--form", "preview")
    check(data["fold"] is False and len(data["locks"]) == 4, "exact data keeps %d locks" % len(data["locks"]))
    for user, password, expected in [
            ("ann", "Straße", ("members/a.html", "_top")),
            ("ANN", "STRASSE", ("shadowed.html", "")),
            ("Ann", "Straße", None),
            ("ann", "STRASSE", None),
            ("bob", "ﬁnal ŉ", ("b/ü.html", "main frame"))]:
        check(login(data, user, password) == expected, "exact login %s/%s" % (user, password))

    # Nothing of a lock may be readable in the output, in any encoding a page could show.
    for text in {field for lock in LOCKS for field in lock if len(field) > 1}:
        for encoded in (text.encode(), text.upper().encode(), json.dumps(text).encode()):
            check(encoded not in raw, "%r appears in clear" % text)

    _, again = lock_data(folded, "--iterations", LOW, "--form", "preview")
    check(again["salt"] != data["salt"], "two outputs share a salt")

    _, published = lock_data(exact, "--iterations", "100000")
    check(published["iterations"] == 100000, "100000 iterations are not kept")
    for count in ("99999", "0", "-5", "10000001", "many"):
        run = cli("locks", exact, "--iterations", count)
        check(run.returncode == 1 and run.stdout == b"" and run.stderr.startswith(b"Please enter an integer"),
              "--iterations %s is not refused: %r" % (count, run.stderr))
    check(cli("locks", exact, "--iterations", "0", "--form", "preview").returncode == 1,
          "the preview takes 0 iterations")
    check(cli("locks", exact, "--form", "segment").returncode == 2, "--form segment is not a usage error")

    one = project(folder, "one", LOCKS[:1], 1)
    _, default = lock_data(one)
    check(default["iterations"] == 600000 and login(default, "ann", "STRASSE") == ("members/a.html", "_top"),
          "default iteration count")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
