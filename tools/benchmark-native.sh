#!/usr/bin/env bash
# Native benchmarks: parser and helper throughput, and a whole run's peak heap for carts of 10,
# 1,000 and 32,000 lines. Release build; extra arguments go to Google Benchmark.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${BENCHMARK_PACKAGES[@]}"
dir="$BUILD/native-release"
cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKCI_BENCHMARKS=ON >/dev/null
cmake --build "$dir" --target cart_benchmark
"$dir/benchmarks/cart_benchmark" --benchmark_counters_tabular=true "$@"
