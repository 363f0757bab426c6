"""Drives a headless Firefox ESR through WebDriver BiDi, for tests that check pages in a second
browser engine: start it on a fresh profile, open a URL, evaluate script and read the result.

    with Firefox() as browser, serve(folder) as site:
        browser.open(site + "/index.html")
        browser.wait_for("document.querySelector('.ready') !== null")
        title = browser.evaluate("document.title")

Scripts are evaluated in the page and may return a promise; their value comes back through
JSON, so they should give JSON-able values. Every wait has a timeout, and the browser with all
its processes ends when the block ends, however it ends.

A test program that cannot find Firefox exits with SKIP (77, which ctest reports as skipped)
through require_firefox(); a Firefox that is installed but does not start is a failure."""

import asyncio
import functools
import http.server
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
from contextlib import contextmanager

try:
    import websockets
except ImportError:
    # Debian's python3-websockets, when the tests run under another Python than Debian's own.
    sys.path.append("/usr/lib/python3/dist-packages")
    import websockets

SKIP = 77
START_TIMEOUT = 60
COMMAND_TIMEOUT = 60

# Quiet start: no first-run pages, updates, telemetry or remote settings traffic.
PREFERENCES = {
    "browser.shell.checkDefaultBrowser": False,
    "browser.startup.homepage_override.mstone": "ignore",
    "browser.aboutwelcome.enabled": False,
    "datareporting.policy.dataSubmissionEnabled": False,
    "toolkit.telemetry.reportingpolicy.firstRun": False,
    "app.update.disabledForTesting": True,
    "remote.prefs.recommended": True,
    "media.autoplay.default": 0,
}


class BrowserError(Exception):
    pass


def firefox_program():
    return shutil.which("firefox-esr") or shutil.which("firefox")


def require_firefox():
    """The Firefox program, or exits the test program as skipped when none is installed."""
    program = firefox_program()
    if not program:
        print("SKIP: firefox-esr is not installed (scripts/install-deps.sh installs it)")
        sys.exit(SKIP)
    return program


class Firefox:
    def __init__(self, program=None):
        self._program = program or require_firefox()
        self._loop = asyncio.new_event_loop()
        self._process = None
        self._socket = None
        self._profile = None
        self._next_id = 0
        self.context = None

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def _start(self):
        self._profile = tempfile.mkdtemp(prefix="zarnith-firefox-")
        with open(os.path.join(self._profile, "user.js"), "w") as prefs:
            for name, value in PREFERENCES.items():
                prefs.write("user_pref(%s, %s);\n" % (json.dumps(name), json.dumps(value)))
        environment = dict(os.environ, MOZ_HEADLESS="1", HOME=self._profile)
        # Its own process group, so that closing ends the content processes too.
        self._process = subprocess.Popen(
            [self._program, "--headless", "--no-remote", "--profile", self._profile,
             "--remote-debugging-port=0", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=environment,
            start_new_session=True)
        address = self._listening_address()
        self._socket = self._run(self._connect(address + "/session"))
        self.command("session.new", {"capabilities": {}})
        tree = self.command("browsingContext.getTree", {})
        self.context = tree["contexts"][0]["context"]

    def _listening_address(self):
        """Reads Firefox's log until it says where WebDriver BiDi listens."""
        found = {}
        lines = []

        def read():
            for raw in self._process.stderr:
                line = raw.decode("utf-8", "replace")
                lines.append(line)
                match = re.search(r"WebDriver BiDi listening on (ws://\S+)", line)
                if match and "address" not in found:
                    found["address"] = match.group(1)
            # Keep draining so that Firefox never blocks on a full pipe.

        threading.Thread(target=read, daemon=True).start()
        deadline = time.monotonic() + START_TIMEOUT
        while "address" not in found:
            if self._process.poll() is not None:
                raise BrowserError("Firefox ended at start:\n" + "".join(lines[-20:]))
            if time.monotonic() > deadline:
                raise BrowserError("Firefox did not offer WebDriver BiDi within %ds:\n%s"
                                   % (START_TIMEOUT, "".join(lines[-20:])))
            time.sleep(0.05)
        return found["address"]

    @staticmethod
    async def _connect(address):
        return await websockets.connect(address, max_size=None, ping_interval=None)

    def _run(self, awaitable, timeout=COMMAND_TIMEOUT):
        return self._loop.run_until_complete(asyncio.wait_for(awaitable, timeout))

    async def _exchange(self, message):
        await self._socket.send(json.dumps(message))
        while True:
            answer = json.loads(await self._socket.recv())
            if answer.get("id") == message["id"]:
                return answer
            # Anything else is an event, which no test here subscribes to.

    def command(self, method, params, timeout=COMMAND_TIMEOUT):
        self._next_id += 1
        answer = self._run(self._exchange({"id": self._next_id, "method": method,
                                           "params": params}), timeout)
        if answer.get("type") == "error" or "error" in answer:
            raise BrowserError("%s: %s: %s" % (method, answer.get("error"), answer.get("message")))
        return answer["result"]

    def open(self, url, context=None):
        """Loads url and waits until the page's load event."""
        self.command("browsingContext.navigate",
                     {"context": context or self.context, "url": url, "wait": "complete"})

    def evaluate(self, expression, context=None):
        """The JSON value of expression (awaited when it is a promise) in the page."""
        wrapped = "(async () => JSON.stringify(await (%s)))()" % expression
        result = self.command("script.evaluate", {
            "expression": wrapped, "awaitPromise": True, "resultOwnership": "none",
            "target": {"context": context or self.context}})
        if result.get("type") == "exception":
            details = result.get("exceptionDetails", {})
            raise BrowserError("script failed: %s: %s" % (expression, details.get("text")))
        value = result["result"]
        return json.loads(value["value"]) if value.get("type") == "string" else None

    def wait_for(self, expression, timeout=20, context=None):
        """Waits until expression is truthy in the page; BrowserError when it never is."""
        deadline = time.monotonic() + timeout
        while True:
            try:
                value = self.evaluate("!!(%s)" % expression, context)
            except BrowserError:
                value = None  # a page in the middle of loading
            if value:
                return
            if time.monotonic() > deadline:
                raise BrowserError("timed out waiting for: " + expression)
            time.sleep(0.1)

    def contexts(self):
        """Every top-level browsing context (tab or window) as {"context", "url"}."""
        return [{"context": c["context"], "url": c["url"]}
                for c in self.command("browsingContext.getTree", {"maxDepth": 0})["contexts"]]

    def close(self):
        if self._socket is not None:
            try:
                self.command("browser.close", {}, timeout=10)
            except Exception:
                pass  # ended below in any case
            try:
                self._run(self._socket.close(), 5)
            except Exception:
                pass
            self._socket = None
        if self._process is not None:
            try:
                self._process.wait(10)
            except subprocess.TimeoutExpired:
                pass
            try:
                os.killpg(self._process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self._process.wait()
            self._process = None
        if self._profile is not None:
            shutil.rmtree(self._profile, ignore_errors=True)
            self._profile = None
        self._loop.close()


# The path of every request that a server serve() started answered, in order.
requested = []


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".json": "application/json", ".wav": "audio/wav"})

    def end_headers(self):
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_request(self, code="-", size="-"):
        requested.append(self.path)

    def log_message(self, *args):
        pass


@contextmanager
def serve(folder, host="127.0.0.1"):
    """Serves folder over HTTP, on the loopback address unless told otherwise (the loopback
    address is a secure origin for WebCrypto); yields the base URL, "http://HOST:PORT"."""
    handler = functools.partial(_QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer((host, 0), handler)
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    try:
        yield "http://%s:%d" % (host, server.server_address[1])
    finally:
        server.shutdown()
        server.server_close()
