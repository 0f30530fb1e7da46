#!/usr/bin/env bash
# The native suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}"
ensure_locales
say "native tests with ASan and UBSan"
dir="$BUILD/native-sanitize"
cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKCI_SANITIZE=ON >/dev/null
cmake --build "$dir"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$dir" --output-on-failure
