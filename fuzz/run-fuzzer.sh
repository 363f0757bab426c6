#!/usr/bin/env bash
# Builds the project reader fuzzer with clang and runs it on a copy of the seed corpus.
# Usage: run-fuzzer.sh SOURCE_ROOT BUILD_DIR VERSION_BLOCK_CPP [CLANGXX]
set -euo pipefail
root=$1
build=$2
version_block=$3
clangxx=${4:-clang++}
seconds=${ZARNITH_FUZZ_SECONDS:-60}

cmake -S "$root/fuzz/reader" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER="$clangxx" -DZARNITH_SOURCE_DIR="$root" \
  -DZARNITH_VERSION_BLOCK="$version_block" >"$build.configure.log" 2>&1 ||
  { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j2

# libFuzzer adds what it finds to the corpus folder; keep the committed seeds as they are.
corpus="$build/corpus"
rm -rf "$corpus"
cp -r "$root/fuzz/corpus" "$corpus"
"$build/project_reader_fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
  -artifact_prefix="$build/" -print_final_stats=1 "$corpus"
