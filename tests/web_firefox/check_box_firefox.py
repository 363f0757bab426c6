#!/usr/bin/env python3
"""The modern box in Firefox ESR, on pages zarnith-cli writes, served on the loopback address.
Usage: check_box_firefox.py ZARNITH_CLI"""

import json
import os
import subprocess
import sys
import tempfile

from firefox_bidi import Firefox, require_firefox, serve

CLI = sys.argv[1]
INITIAL = "Enter your user ID and\npassword, then click login."
INCORRECT = "The user ID or password\nentered is incorrect."
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def cli(*arguments):
    run = subprocess.run([CLI, *arguments], capture_output=True)
    if run.returncode != 0:
        sys.exit("zarnith-cli %s: %s" % (" ".join(arguments), run.stderr.decode()))
    return run


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


require_firefox()
with tempfile.TemporaryDirectory() as folder, Firefox() as browser, serve(folder) as site:
    locks = project(folder, "locks", {"locks": [
        {"userId": "ann", "password": "Tulip", "url": "a.html", "target": ""},
        {"userId": "bob", "password": "pw", "url": "b.html", "target": ""}]})
    cli("html", locks, "--box", "modern", "--form", "preview", "--iterations", "1000",
        "-o", os.path.join(folder, "login.html"))

    browser.open(site + "/login.html")
    browser.wait_for("document.querySelector('.zarnith-box .zb-shown')")
    check(message(browser) == INITIAL, "initial message: %r" % message(browser))
    login(browser, "ann", "wrong")
    browser.wait_for("document.querySelector('.zarnith-box .zb-shown').textContent === %s"
                     % json.dumps(INCORRECT))
    login(browser, "ANN", "tULIP")
    check(wait_for_path(browser, "/a.html"), "ann with ignore case does not open a.html")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
