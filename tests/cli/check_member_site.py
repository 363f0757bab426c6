#!/usr/bin/env python3
"""Opens a site that `zarnith-cli publish` wrote for a project with member areas, following only
the manual's description of the published format: Python's hashlib and hmac, and AES-GCM from the
cryptography package. Every protected file must open with the key of an area that holds it and
with no other key, no protected byte may lie on the server in clear, and each lock's record must
carry the keys of exactly the areas it opens. Usage: check_member_site.py ZARNITH_CLI"""

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
import urllib.parse

from cryptography.exceptions import InvalidTag
from cryptography.hazmat.primitives.ciphers.aead import AESGCM

CLI = sys.argv[1]
SHARED_SCRIPT = "zarnith-box.js"
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def cli(*arguments):
    run = subprocess.run([CLI, *arguments], capture_output=True)
    return run


def b64(text):
    return base64.b64decode(text, validate=True)


def area_id(key):
    return hmac.new(key, b"zarnith-area-id", "sha256").digest()[:16]


def open_sealed(header, data, key):
    """The plain bytes, when key is that of an area listed in the header; else None."""
    for entry in header["keys"]:
        if b64(entry["area"]) == area_id(key):
            content_key = AESGCM(key).decrypt(b64(entry["iv"]), b64(entry["key"]), None)
            return AESGCM(content_key).decrypt(b64(header["iv"]), data, None)
    return None


def sealed_parts(path):
    """The header and the encrypted data of a published protected file or page, and every byte
    published for it (a large page's file beside it included)."""
    with open(path, "rb") as file:
        raw = file.read()
    if path.endswith((".html", ".htm", ".HTM")):
        found = re.search(rb'<script type="application/json" class="zarnith-protected">(.*?)</script>', raw, re.S)
        check(found is not None, path + " carries no protected content")
        header = json.loads(found.group(1))
        check(header["format"] == "zarnith-page/1", path + " format " + header["format"])
        if "data" in header:
            return header, b64(header["data"]), raw
        named = re.fullmatch(r"([^?]*)\?v=[0-9a-f]{12}", header["file"])
        check(named is not None, path + " names no versioned address: " + header["file"])
        companion = os.path.join(os.path.dirname(path), urllib.parse.unquote(named.group(1)))
        check(companion == path + ".zarnith", path + " names " + header["file"])
        header, data, content = sealed_parts(companion)
        return header, data, raw + content
    check(raw.startswith(b'{"format":"zarnith-file/1",'), path + " does not start with the magic")
    end = raw.index(b"\n")
    return json.loads(raw[:end]), raw[end + 1:], raw


def login(lock_data, user, password):
    """The record a login opens, as the box does it (format zarnith-locks/2)."""
    def form(text):
        text = unicodedata.normalize("NFC", text)
        return text.upper() if lock_data["fold"] else text
    secret = form(user).encode() + b"\0" + form(password).encode()
    key = hashlib.pbkdf2_hmac("sha256", secret, b64(lock_data["salt"]), lock_data["iterations"], 32)
    lock_id = hmac.new(key, b"zarnith-lock-id", "sha256").digest()[:16]
    for record in lock_data["locks"]:
        if b64(record["id"]) == lock_id:
            aes = AESGCM(hmac.new(key, b"zarnith-lock-key", "sha256").digest())
            return json.loads(aes.decrypt(b64(record["iv"]), b64(record["data"]), None))
    return None


SITE = {
    "index-about.html": b"<p>Public page: about us</p>",
    "staff/handbook.html": b"<h1>Staff handbook</h1><img src=\"pics/rota.png\">",
    "staff/pics/rota.png": bytes(range(256)) * 40 + b"STAFF-ROTA-SECRET",
    "staff/deep/er/notes.htm": "<p>Notes: caf\u00e9 cr\u00e8me</p>".encode(),
    # Beyond 64 KiB a page's content lies in a file beside it.
    "staff/the year.HTM": b"".join(b"<p>Day %d of the staff's year</p>" % day for day in range(3000)),
    "club/news.html": b"<p>Club news, members only</p>",
    "club/minutes.pdf": b"%PDF-1.4 CLUB-MINUTES-SECRET",
    "shared/both.html": b"<p>For staff and club alike</p>",
    "public/logo.png": b"\x89PNG public logo",
    "empty/nothing.txt": b"",
}
AREAS = [
    {"name": "staff", "pages": ["staff/**", "shared/*.html"]},
    {"name": "club", "pages": ["club/*", "shared/*", "empty/*"]},
    {"name": "void", "pages": ["nowhere/**"]},
]
LOCKS = [
    {"userId": "ann", "password": "staff-pw", "url": "staff/handbook.html"},
    {"userId": "bob", "password": "club-pw", "url": "club/news.html", "areas": ["club"]},
    {"userId": "cy", "password": "none-pw", "url": "index-about.html", "areas": []},
]

with tempfile.TemporaryDirectory() as folder:
    site = os.path.join(folder, "site")
    for name, content in SITE.items():
        os.makedirs(os.path.dirname(os.path.join(site, name)), exist_ok=True)
        with open(os.path.join(site, name), "wb") as file:
            file.write(content)
    source = os.path.join(folder, "project.json")
    project = os.path.join(folder, "project.loc")
    with open(source, "w", encoding="utf-8") as file:
        json.dump({"siteFolder": site, "areas": AREAS, "locks": LOCKS, "rememberDays": 3}, file)
    run = cli("build", source, project)
    if run.returncode != 0:
        sys.exit("cannot build: " + run.stderr.decode())
    keys = {area["name"]: b64(area["key"]) for area in json.loads(cli("dump", project).stdout)["areas"]}
    check(len(set(keys.values())) == 3 and all(len(k) == 32 for k in keys.values()), "area keys")

    refused = cli("publish", project, os.path.join(folder, "classic"), "--box", "classic")
    check(refused.returncode == 1 and b"modern" in refused.stderr and not os.path.exists(os.path.join(folder, "classic")),
          "the classic kind with areas is not refused: %r" % refused.stderr)

    out = os.path.join(folder, "out")
    run = cli("publish", project, out, "--box", "modern", "--iterations", "100000")
    check(run.returncode == 0, "publish fails: " + run.stderr.decode())

    holders = {
        "staff/handbook.html": {"staff"}, "staff/pics/rota.png": {"staff"}, "staff/the year.HTM": {"staff"},
        "staff/deep/er/notes.htm": {"staff"}, "club/news.html": {"club"},
        "club/minutes.pdf": {"club"}, "shared/both.html": {"staff", "club"},
        "empty/nothing.txt": {"club"},
    }
    for name, content in SITE.items():
        path = os.path.join(out, name)
        with open(path, "rb") as file:
            published = file.read()
        if name not in holders:
            check(published == content, name + " is not published as it is")
            continue
        header, data, raw = sealed_parts(path)
        check(len(header["keys"]) == len(holders[name]), name + " lists %d keys" % len(header["keys"]))
        for area, key in keys.items():
            try:
                plain = open_sealed(header, data, key)
            except InvalidTag:
                plain = "tampered"
            if area in holders[name]:
                check(plain == content, "%s does not open with %s's key" % (name, area))
            else:
                check(plain is None, "%s opens with %s's key" % (name, area))
        # No protected byte in clear: no run of 12 bytes of the content, in any form a page shows.
        for start in range(0, max(1, len(content) - 12), max(7, len(content) // 1000)):
            piece = content[start:start + 12]
            if len(piece) == 12:
                check(piece not in raw and base64.b64encode(piece) not in raw,
                      "%s shows %r in clear" % (name, piece))

    check(os.path.isfile(os.path.join(out, "staff/the year.HTM.zarnith"))
          and not os.path.exists(os.path.join(out, "staff/handbook.html.zarnith")),
          "only the large page has its content in a file beside it")

    # A protected page says where the lock data is, and carries none of it; its box comes from the
    # one shared script at the top of the site, which holds nothing of the project.
    with open(os.path.join(out, "staff/deep/er/notes.htm"), "rb") as file:
        deep = file.read()
    check(b'"siteRoot":"../../../"' in deep and b'class="zarnith-locks"' not in deep,
          "a deep page does not fetch the site's lock data")
    for name in holders:
        if name.endswith((".html", ".htm")):
            with open(os.path.join(out, name), "rb") as file:
                sources = re.findall(rb'<script defer src="([^"?]*)\?v=[0-9a-f]+"></script>', file.read())
            check([os.path.normpath(os.path.join(os.path.dirname(name), s.decode())) for s in sources]
                  == [SHARED_SCRIPT], "%s loads %r" % (name, sources))
    with open(os.path.join(out, SHARED_SCRIPT), "rb") as file:
        shared = file.read()
    secrets = [lock["password"].encode() for lock in LOCKS] + [base64.b64encode(k) for k in keys.values()]
    check(b"zarnithMembers" in shared and not any(secret in shared for secret in secrets),
          "the shared script is not the box's, or holds a secret of the project")

    with open(os.path.join(out, "lock.json"), "rb") as file:
        lock_data = json.load(file)
    for user, password, expected in [("ann", "staff-pw", {"staff", "club", "void"}),
                                     ("bob", "club-pw", {"club"}), ("cy", "none-pw", set())]:
        record = login(lock_data, user, password)
        check(record is not None, user + " does not log in")
        if record:
            got = {area for area, key in keys.items() if base64.b64encode(key).decode() in record["areas"]}
            check(got == expected and len(record["areas"]) == len(expected),
                  "%s's record opens %r" % (user, sorted(got)))

    # A member removed: the areas they could open get new keys, the others keep theirs.
    dumped = json.loads(cli("dump", project).stdout)
    dumped["locks"] = [lock for lock in dumped["locks"] if lock["userId"] != "bob"]
    with open(source, "w", encoding="utf-8") as file:
        json.dump(dumped, file)
    check(cli("build", source, project).returncode == 0, "rebuild without bob")
    renewed = {area["name"]: b64(area["key"]) for area in json.loads(cli("dump", project).stdout)["areas"]}
    check(renewed["club"] != keys["club"] and renewed["staff"] == keys["staff"],
          "removing bob renews %r" % sorted(a for a in keys if renewed[a] != keys[a]))
    run = cli("publish", project, out, "--box", "modern", "--iterations", "100000")
    check(run.returncode == 0, "second publish fails: " + run.stderr.decode())
    header, data, _ = sealed_parts(os.path.join(out, "club/news.html"))
    check(open_sealed(header, data, keys["club"]) is None, "bob's old key opens the new club page")
    with open(os.path.join(out, SHARED_SCRIPT), "rb") as file:
        check(file.read() == shared, "the shared script changes with the project's members or keys")
    check(open_sealed(header, data, renewed["club"]) == SITE["club/news.html"], "the new club key fails")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
