#!/usr/bin/env bash
# Builds, then renders every page and dialog into docs/screenshots/*.png, on the sample project.
# Uses the display when there is one, Xvfb otherwise.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${ZARNITH_BUILD:-$root/build}"
if [ "$build" = "$root/build" ]; then
  "$root/scripts/install-deps.sh"
  "$root/scripts/build.sh"
fi
run=("$build/zarnith-screenshots" "$root/docs/screenshots" "$root/docs/sample.loc")
# The Preview page's browser engine refuses to run as root in its sandbox.
if [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  "${run[@]}"
else
  xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}"
fi
