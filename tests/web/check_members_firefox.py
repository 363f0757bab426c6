#!/usr/bin/env python3
"""Member areas in Firefox ESR: a site that zarnith-cli publishes with protected pages and
pictures, served on the loopback address, logged into, moved through and logged out of.
Usage: check_members_firefox.py ZARNITH_CLI"""

import json
import os
import struct
import subprocess
import sys
import tempfile
import zlib

import script_checks
from script_checks import check, finish
from firefox_bidi import Firefox, require_firefox, requested, serve

CLI = sys.argv[1]
NO_ACCESS = "Your account does not open this page."
INITIAL = "Enter your user ID and\npassword, then click login."


def png(width, height):
    """A grey picture, so that one that opened has its width."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + b"\x80" * width for _ in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


PNG = png(2, 1)
def cli(*arguments):
    return script_checks.cli(CLI, *arguments)


def page(title, body=""):
    return ("<!DOCTYPE html><html><head><title>%s</title></head><body><h1>%s</h1>%s"
            "<script>document.body.dataset.ran = 'yes';</script></body></html>" % (title, title, body))


# Beyond 64 KiB a page's content lies in a file beside it.
LONG = "".join("<p>Paragraph %d of a long members' page.</p>" % i for i in range(1800))
SITE = {
    "staff/a.html": page("Staff A", '<img id="pic" src="pics/p.png"><a id="next" href="b.html">B</a>'
                                    '<span id="out" data-zarnith-logout>Log out</span>'),
    "staff/b.html": page("Staff B", LONG),
    "staff/pics/p.png": PNG,
    "club/c.html": page("Club C", LONG),
}


def publish(folder, locks):
    source = os.path.join(folder, "project.json")
    with open(source, "w", encoding="utf-8") as file:
        json.dump({"siteFolder": os.path.join(folder, "site"), "boxKind": "modern",
                   "iterations": 100000, "rememberDays": 3, "locks": locks,
                   "areas": [{"name": "staff", "pages": ["staff/**"]},
                             {"name": "club", "pages": ["club/**"]}]}, file)
    project = os.path.join(folder, "project.loc")
    if os.path.exists(project):
        # Rebuilt from its own dump, as a webmaster editing the JSON would: the keys stay.
        with open(source, "w", encoding="utf-8") as file:
            dumped = json.loads(subprocess.run([CLI, "dump", project], capture_output=True).stdout)
            dumped["locks"] = locks
            json.dump(dumped, file)
    cli("build", source, project)
    cli("publish", project, os.path.join(folder, "out"))


def message(browser, context=None):
    return browser.evaluate("(document.querySelector('.zarnith-box .zb-shown') || {}).textContent",
                            context)


def shown(browser, title, context=None):
    """Waits until the page shows the opened content titled title; False when it never does."""
    try:
        browser.wait_for("document.querySelector('h1') && document.querySelector('h1').textContent === %s"
                         " && document.body.dataset.ran === 'yes'" % json.dumps(title), 20, context)
        return True
    except Exception:
        return False


def box_says(browser, text, context=None):
    try:
        browser.wait_for("(() => { const m = document.querySelector('.zarnith-box .zb-shown');"
                         " return m && m.textContent === %s && getComputedStyle(m.closest("
                         "'.zarnith-box')).visibility === 'visible'; })()" % json.dumps(text), 20, context)
        return True
    except Exception:
        return False


def login(browser, user, password, remember=False, context=None):
    browser.wait_for("document.querySelector('.zarnith-box input') && "
                     "!document.querySelector('.zarnith-box input').disabled", 20, context)
    browser.evaluate("""(() => { const box = document.querySelector('.zarnith-box');
        const fields = box.querySelectorAll('input');
        fields[0].value = %s; fields[1].value = %s;
        const remember = box.querySelector('.zb-remember input');
        if (remember) remember.checked = %s;
        box.querySelector('button[type=submit]').click(); })()"""
                     % (json.dumps(user), json.dumps(password), "true" if remember else "false"), context)


def new_tab(browser):
    return browser.command("browsingContext.create", {"type": "tab"})["context"]


require_firefox()
ANN = {"userId": "ann", "password": "ann-pw", "url": "staff/a.html", "areas": ["staff"]}
BOB = {"userId": "bob", "password": "bob-pw", "url": "club/c.html", "areas": ["club"]}
ALL = {"userId": "zed", "password": "zed-pw", "url": "staff/b.html"}

with tempfile.TemporaryDirectory() as folder:
    for name, content in SITE.items():
        path = os.path.join(folder, "site", name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as file:
            file.write(content if isinstance(content, bytes) else content.encode())
    publish(folder, [ANN, BOB, ALL])

    with Firefox() as browser, serve(os.path.join(folder, "out")) as site:
        # Log in once, then move between the pages of one's area, with their pictures.
        browser.open(site + "/index.html")
        login(browser, "ann", "ann-pw")
        check(shown(browser, "Staff A"), "ann's login does not show staff/a.html")
        check(browser.evaluate("document.getElementById('pic').naturalWidth") == 2,
              "the protected picture does not show")
        browser.evaluate("document.getElementById('next').click()")
        check(shown(browser, "Staff B"), "the link to staff/b.html does not open it")
        check([path.split("?")[0] for path in requested].count("/staff/b.html.zarnith") == 1,
              "the page's content is not fetched once, from its head: %r" % requested)

        # Another area: the box says so, and another login there opens the page in place.
        browser.open(site + "/club/c.html")
        check(box_says(browser, NO_ACCESS), "club/c.html opens for ann: " + repr(message(browser)))
        drawn = browser.evaluate("[getComputedStyle(document.querySelector('.zarnith-box')).display,"
                                 " new URL(document.querySelector('.zarnith-box script[src]').src)"
                                 ".pathname].join(' ')")
        check(drawn == "inline-block /zarnith-box.js",
              "the box is not drawn by the shared script in its style: " + repr(drawn))
        login(browser, "bob", "bob-pw")
        check(shown(browser, "Club C"), "bob's login does not open club/c.html in place")
        check(browser.evaluate("location.pathname") == "/club/c.html", "the login left the page")

        # ?logout, and an element marked data-zarnith-logout.
        browser.open(site + "/club/c.html?logout")
        check(box_says(browser, INITIAL), "?logout does not show the box")
        check(browser.evaluate("sessionStorage.length") == 0, "?logout keeps the keys")
        browser.open(site + "/staff/a.html")
        check(box_says(browser, INITIAL), "a direct link without a login shows no box")
        login(browser, "ann", "ann-pw")
        check(shown(browser, "Staff A"), "a login on the protected page does not open it")
        browser.evaluate("document.getElementById('out').click()")
        check(box_says(browser, INITIAL), "data-zarnith-logout does not log out")

        # Remember me reaches a new tab; a login without it does not.
        browser.open(site + "/index.html")
        login(browser, "ann", "ann-pw", remember=True)
        check(shown(browser, "Staff A"), "ann's remembered login")
        tab = new_tab(browser)
        browser.open(site + "/staff/b.html", tab)
        check(shown(browser, "Staff B", tab), "Remember me does not reach a new tab")
        browser.open(site + "/index.html?logout", tab)
        browser.open(site + "/index.html")
        login(browser, "ann", "ann-pw")
        check(shown(browser, "Staff A"), "ann's login without Remember me")
        tab = new_tab(browser)
        browser.open(site + "/staff/b.html", tab)
        check(box_says(browser, INITIAL, tab), "a login without Remember me reaches a new tab")

        # bob is removed and the site published again: his kept key opens nothing new, while
        # zed, whose access did not change, stays logged in for staff.
        browser.open(site + "/index.html")
        login(browser, "bob", "bob-pw")
        check(shown(browser, "Club C"), "bob before the removal")
        zed = new_tab(browser)
        browser.open(site + "/index.html", zed)
        login(browser, "zed", "zed-pw", context=zed)
        check(shown(browser, "Staff B", zed), "zed before the removal")
        publish(folder, [ANN, ALL])
        browser.open(site + "/club/c.html")
        check(box_says(browser, NO_ACCESS), "bob's kept key opens the page published after his removal")
        browser.open(site + "/staff/a.html", zed)
        check(shown(browser, "Staff A", zed), "zed is logged out by a publish that did not change his access")

finish()
