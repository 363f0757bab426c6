#!/usr/bin/env python3
"""The modern box in Firefox ESR, on pages zarnith-cli writes, served on the loopback address.
Usage: check_box_firefox.py ZARNITH_CLI"""

import base64
import hashlib
import hmac
import json
import os
import socket
import sys
import tempfile

from cryptography.hazmat.primitives.ciphers.aead import AESGCM
import script_checks
from script_checks import check, finish
from firefox_bidi import Firefox, require_firefox, serve

CLI = sys.argv[1]
INITIAL = "Enter your user ID and\npassword, then click login."
INCORRECT = "The user ID or password\nentered is incorrect."
NOT_LOADED = "The locks could not be loaded.\nTrying again..."
PREVIEW_ONLY = "This page is a preview made for this computer.\nPublish the project to use the box on a site."
SALT = bytes(range(16))
def cli(*arguments):
    return script_checks.cli(CLI, *arguments)


def project(folder, name, settings):
    source = os.path.join(folder, name + ".json")
    with open(source, "w", encoding="utf-8") as file:
        json.dump(settings, file)
    cli("build", source, os.path.join(folder, name + ".loc"))
    return os.path.join(folder, name + ".loc")


def message(browser):
    return browser.evaluate("(document.querySelector('.zarnith-box .zb-shown') || {}).textContent")


def login(browser, user, password):
    browser.evaluate("""(() => { const box = document.querySelector('.zarnith-box');
        const fields = box.querySelectorAll('input');
        fields[0].value = %s; fields[1].value = %s;
        box.querySelector('button').click(); })()""" % (json.dumps(user), json.dumps(password)))


def wait_for_path(browser, path):
    try:
        browser.wait_for("location.pathname === %s" % json.dumps(path), timeout=15)
        return True
    except Exception:
        return False


def b64(data):
    return base64.b64encode(data).decode()


def record(user, password, url, iterations=1000, target=""):
    """One record as the manual describes it (no folding; the texts given are the text form)."""
    key = hashlib.pbkdf2_hmac("sha256", user.encode() + b"\0" + password.encode(), SALT, iterations)
    lock_id = hmac.new(key, b"zarnith-lock-id", "sha256").digest()[:16]
    iv = os.urandom(12)
    plain = json.dumps({"url": url, "target": target}).encode()
    sealed = AESGCM(hmac.new(key, b"zarnith-lock-key", "sha256").digest()).encrypt(iv, plain, None)
    return {"id": b64(lock_id), "iv": b64(iv), "data": b64(sealed)}


def lock_data(records, **header):
    data = {"format": "zarnith-locks/2", "iterations": 1000, "salt": b64(SALT), "fold": False,
            "locks": records}
    data.update(header)
    return json.dumps(data)


def write(folder, name, text):
    with open(os.path.join(folder, name), "w", encoding="utf-8") as file:
        file.write(text)


def box_state(browser):
    return browser.evaluate("""(() => { const box = document.querySelector('.zarnith-box');
        const shown = box.querySelector('.zb-shown');
        return [shown ? shown.textContent : '', box.querySelector('button').disabled]; })()""")


def wait_for_message(browser, text):
    try:
        browser.wait_for("(document.querySelector('.zarnith-box .zb-shown') || {}).textContent === %s"
                         % json.dumps(text), timeout=15)
        return True
    except Exception:
        return False


def own_address():
    """This computer's address on its network, or None when it has only the loopback one."""
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        try:
            probe.connect(("192.0.2.1", 9))  # sends nothing: only picks the outgoing address
            address = probe.getsockname()[0]
        except OSError:
            return None
    return None if address.startswith("127.") else address


def logins(browser, site, folder):
    """NFC and NFD both ways, folded letters, locks from a project made by the program."""
    locks = project(folder, "letters", {"retries": 10, "locks": [
        {"userId": "zo\u00eb", "password": "caf\u00e9", "url": "nfc.html", "target": ""},
        {"userId": "Ann", "password": "Stra\u00dfe \u019b\u0264\u1c8a\ua7cd\U00010d70\U00016ebb",
         "url": "letters.html", "target": ""}]})
    exact = project(folder, "exact", {"retries": 10, "ignoreCase": 0, "locks": [
        {"userId": "Zoe\u0308", "password": "Cafe\u0301", "url": "nfd.html", "target": ""}]})
    for source, page in ((locks, "letters.html"), (exact, "exact.html")):
        cli("html", source, "--box", "modern", "--form", "preview", "--iterations", "1000",
            "-o", os.path.join(folder, "login-" + page))
    for page, user, password, path in [
            ("letters.html", "zoe\u0308", "cafe\u0301", "/nfc.html"),
            ("letters.html", "ZO\u00cb", "CAF\u00c9", "/nfc.html"),
            ("letters.html", "ANN", "STRASSE \u019b\u0264\u1c8a\ua7cd\U00010d70\U00016ebb",
             "/letters.html"),
            ("exact.html", "Zo\u00eb", "Caf\u00e9", "/nfd.html")]:
        browser.open(site + "/login-" + page)
        browser.wait_for("document.querySelector('.zarnith-box .zb-shown')")
        login(browser, user, password)
        check(wait_for_path(browser, path), "%r / %r does not open %s" % (user, password, path))
    # A preview made with few iterations says so, and takes no login away from this computer.
    browser.open(site + "/login-letters.html")
    check(browser.evaluate("document.querySelector('.zarnith-box .zb-preview-band').textContent")
          == "Preview only", "a 1,000-iteration preview has no band")
    address = own_address()
    if address is None:
        print("NOTE: no address other than the loopback one; the preview's refusal elsewhere is "
              "not checked")
    else:
        with serve(folder, address) as elsewhere:
            browser.open(elsewhere + "/login-letters.html")
            check(box_state(browser) == [PREVIEW_ONLY, True],
                  "a preview served to another computer takes logins: %r" % box_state(browser))
    # Letters that browsers newer than the table upper-case do not open a lock as other letters.
    browser.open(site + "/login-letters.html")
    browser.wait_for("document.querySelector('.zarnith-box .zb-shown')")
    login(browser, "ann", "strasse \ua7dc\ua7cb\u1c89\ua7cc\U00010d50\U00016ea0")
    check(wait_for_message(browser, INCORRECT), "other letters open the lock")


def lock_file(browser, site, folder):
    """Hostile lock files, duplicate ids, script addresses and reloads of an unchanged file."""
    source = project(folder, "file", {"retries": 2, "readLocksFromFile": 1, "lockFile": "locks.txt",
        "reloadInterval": 1, "locks": [{"userId": "x", "password": "y", "url": "x.html", "target": ""}]})
    cli("publish", source, folder, "--box", "modern", "--iterations", "100000")
    good = record("ann", "pw", "first.html")
    hostile = {
        "format 1": lock_data([good], format="zarnith-locks/1"),
        "iterations 0": lock_data([good], iterations=0),
        "iterations -1": lock_data([good], iterations=-1),
        "iterations 1e20": lock_data([good]).replace('"iterations": 1000', '"iterations": 1e20'),
        "iterations 4294967295": lock_data([good], iterations=4294967295),
        "iterations 1.5": lock_data([good], iterations=1.5),
        "iterations as text": lock_data([good], iterations="1000"),
        "salt of 15 bytes": lock_data([good], salt=b64(SALT[:15])),
        "fold as text": lock_data([good], fold="true"),
        "id of 15 bytes": lock_data([dict(good, id=b64(bytes(15)))]),
        "locks not a list": lock_data({"a": good}),
        "not JSON": "{\"format\": \"zarnith-locks/2\",",
    }
    browser.open(site + "/index.html")
    check(browser.evaluate("document.querySelector('.zb-preview-band') === null"),
          "a published page shows the preview band")
    for name, text in hostile.items():
        write(folder, "locks.json", text)
        browser.open(site + "/index.html")
        check(wait_for_message(browser, NOT_LOADED), name + ": not refused")
        check(box_state(browser) == [NOT_LOADED, True], name + ": the box takes tries")

    # The first record of an id wins; a script address is never followed.
    write(folder, "locks.json", lock_data([
        good, record("ann", "pw", "second.html"),
        record("eve", "pw", "javascript:document.title='opened'"),
        record("fay", "pw", "new.html", target="_blank")]))
    check(wait_for_message(browser, INITIAL), "the box does not load good lock data after bad")
    login(browser, "ann", "wrong")
    check(wait_for_message(browser, INCORRECT), "the hostile files counted tries")
    login(browser, "eve", "pw")
    browser.evaluate("new Promise(done => setTimeout(done, 1500))")
    check(browser.evaluate("[document.title, location.pathname]") == ["", "/index.html"],
          "a javascript: address ran or moved the page")
    # A new window opened by the box gets no handle on the page.
    login(browser, "fay", "pw")
    browser.wait_for("true")
    opened = []
    for _ in range(100):
        opened = [c for c in browser.contexts() if c["url"].endswith("/new.html")]
        if opened:
            break
        browser.evaluate("new Promise(done => setTimeout(done, 100))")
    check(len(opened) == 1, "no new window for _blank")
    if opened:
        check(browser.evaluate("window.opener === null", context=opened[0]["context"]) is True,
              "the new window reaches its opener")
        browser.command("browsingContext.close", {"context": opened[0]["context"]})

    # An unchanged lock file is fetched again but not parsed again.
    browser.evaluate("""(() => { window.lockParses = 0; const parse = JSON.parse;
        JSON.parse = function (text) { if (String(text).includes('zarnith-locks')) window.lockParses++;
            return parse.apply(this, arguments); }; })()""")
    browser.evaluate("new Promise(done => setTimeout(done, 3000))")
    check(browser.evaluate("window.lockParses") == 0, "an unchanged lock file is parsed again")
    write(folder, "locks.json", lock_data([good, record("bob", "pw", "bob.html")]))
    browser.wait_for("window.lockParses > 0")
    login(browser, "ann", "pw")
    check(wait_for_path(browser, "/first.html"), "the first record of an id does not win")


require_firefox()
with tempfile.TemporaryDirectory() as folder, Firefox() as browser, serve(folder) as site:
    logins(browser, site, folder)
    lock_file(browser, site, folder)

finish()
