#!/usr/bin/env bash
# Runs every benchmark that measures a goal of the program, one after the other in one run, and
# prints their figures side by side, each with the machine's one-minute load (load1) beside it:
# timings from a machine that other programs share are slower than the program is.
# Usage: bench/run-goals.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail
build=${1:-build}
goals=(
  "bench_gui_startup"                                   # start-up, 100,000 and 1,000,000 locks
  "bench_gui_pages --benchmark_filter=FindMember|Scaling" # Find member keys, page load scaling
  "bench_core_csv"                                      # CSV import against the JSON build
  "bench_gui_preview"                                   # preview refresh, modern against classic
  "bench_core_locks --benchmark_filter=LockDerivation"  # derivation against OpenSSL's rate
  "bench_core_members"                                  # members' site against no areas
  "bench_web_members_page"                              # protected 1 MB page against open one
)
echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
for goal in "${goals[@]}"; do
  read -r program arguments <<<"$goal"
  # The files the last benchmark wrote reach the disk before the next one starts, so that the
  # kernel's writing them back does not fall into its timing.
  sync
  sleep 5
  # shellcheck disable=SC2086
  "$build/bench/$program" $arguments --benchmark_counters_tabular=true 2>/dev/null \
    | grep -E '^(BM_|Benchmark|-)' || echo "$program: failed"
done
