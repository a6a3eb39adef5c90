#!/usr/bin/env bash
# Builds the settings-reader fuzz targets with clang and runs each for a fixed time from the
# seed corpus in fuzz/corpus/; fails on the first crash or mismatch.
# Usage: scripts/fuzz.sh [seconds-per-target] [extra libFuzzer options...]
#   e.g. scripts/fuzz.sh 600 -runs=10000000
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-15}
shift || true

"$root/scripts/deps.sh" clang libclang-rt-14-dev
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBUILD_FUZZERS=ON -DBUILD_TESTING=OFF -DOSTROVA_BUILD_QT=OFF -DOSTROVA_WERROR=ON >/dev/null

targets=(fuzz_startup_cfg fuzz_startup_bin fuzz_load_cfg fuzz_load_bin)
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"

# New inputs go into a scratch folder; the seeds in the repository stay as committed.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  mkdir -p "$work/$name"
  echo "--- $target: $seconds s"
  "$build/fuzz/$target" -max_total_time="$seconds" -max_len=8200 -print_final_stats=1 \
      -artifact_prefix="$work/$name-" "$@" "$work/$name" "$root/fuzz/corpus/$name" \
      2>"$work/$name.log" || {
    tail -n 60 "$work/$name.log"
    mkdir -p "$build/crashes"
    cp "$work/$name"-* "$build/crashes/" 2>/dev/null || true
    echo "$target failed; the input is in $build/crashes/" >&2
    exit 1
  }
  grep -E '^stat::number_of_executed_units|^stat::average_exec_per_sec|^stat::peak_rss_mb' \
      "$work/$name.log" | sed "s/^/  /"
done
