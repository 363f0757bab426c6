#!/usr/bin/env bash
# Builds the project reader fuzzer with clang and runs it on a copy of the seed corpus, then on
# large inputs.
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

# Then large inputs, from a seed with a text of 2 MB and 20,000 empty locks, with an allocation
# limit above the reader's memory budget: an allocation the budget should have refused fails the
# run.
large="$build/large-corpus"
rm -rf "$large"
mkdir -p "$large"
default="$root/fuzz/corpus/default.loc"
{
  head -c 8 "$default"
  printf '\xff\xff\xff\x00\x00\x20\x00'
  head -c 2097152 /dev/zero | tr '\0' 'h'
  tail -c +10 "$default" | head -c -4
  printf '\x20\x4e\x00\x00'
  head -c 80000 /dev/zero
} >"$large/long-text-many-locks.loc"
"$build/project_reader_fuzzer" -max_total_time="${ZARNITH_FUZZ_LARGE_SECONDS:-20}" \
  -max_len=4194304 -len_control=0 -malloc_limit_mb=1024 -rss_limit_mb=2048 -timeout=30 \
  -artifact_prefix="$build/large-" -print_final_stats=1 "$large"
