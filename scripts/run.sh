#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program (arguments go to it, e.g. a project).
# Without a display it runs under Xvfb and saves a picture of the main window instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$root/build/zarnith" "$@"
fi
picture="$root/build/zarnith-main-window.png"
echo "No display: running under Xvfb and saving a picture of the main window."
ZARNITH_SCREENSHOT="$picture" xvfb-run -a -s "-screen 0 1280x1024x24" "$root/build/zarnith" "$@"
echo "The main window is in $picture"
