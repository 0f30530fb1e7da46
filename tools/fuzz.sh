#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for a bounded time, starting
# from its seed corpus in fuzz/corpus/<target>/. Any finding fails the run; the input that caused
# it is left in build/fuzz/findings/ (turn it into a regression test).
# Usage: tools/fuzz.sh [SECONDS_PER_TARGET]   (default 30)
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

seconds="${1:-30}"
ensure_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev
dir="$BUILD/fuzz"
cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKCI_FUZZ=ON >/dev/null
cmake --build "$dir"

mkdir -p "$dir/findings"
for seeds in "$ROOT"/fuzz/corpus/*/; do
  target=$(basename "$seeds")
  say "fuzzing $target for $seconds s"
  work=$(mktemp -d)
  cp -r "$seeds". "$work/"
  # New inputs go to the scratch copy, never into the repository's seeds.
  status=0
  "$dir/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$dir/findings/$target-" \
    "$work" >"$dir/$target.log" 2>&1 || status=$?
  grep -E '^(stat::|#[0-9]+ +DONE)|ERROR|SUMMARY|Test unit written' "$dir/$target.log" || true
  rm -rf "$work"
  [ "$status" -eq 0 ] || die "$target found a fault (exit $status); see $dir/$target.log and $dir/findings/"
done
say "no findings"
