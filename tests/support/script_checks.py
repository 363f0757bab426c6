"""What the browser test scripts share: collected failures, a zarnith-cli call that must succeed,
and the report that ends the script."""

import subprocess
import sys

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def cli(program, *arguments):
    """Runs zarnith-cli; a failure ends the script, since every later check would rest on it."""
    run = subprocess.run([program, *arguments], capture_output=True)
    if run.returncode != 0:
        sys.exit("zarnith-cli %s: %s" % (" ".join(arguments), run.stderr.decode()))
    return run


def finish():
    for failure in failures:
        print("FAIL:", failure)
    sys.exit(1 if failures else 0)
