#!/usr/bin/env bash
# Installs what is missing, builds the programs without the tests and benchmarks (half the build
# steps) into build-package/, and makes the Debian package there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-package
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
  -DZARNITH_BUILD_BENCHMARKS=OFF
cmake --build "$build" -j2
(cd "$build" && cpack -G DEB)
echo "The package is $(echo "$build"/zarnith_*.deb)"
