#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
echo "Running the tests; the fuzz test of the project reader starts first and takes about two minutes."
ctest --test-dir "$root/build" --output-on-failure -j2 --timeout 600
