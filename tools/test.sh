#!/usr/bin/env bash
# Runs every test: the native suite, then the Windows suites under Wine. Installs what it needs.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${WINE_PACKAGES[@]}"

say "native build and tests"
build_native
ctest --test-dir "$BUILD/native" --output-on-failure

say "Windows build"
build_windows

say "Windows tests under Wine"
trap wine_stop EXIT
wine_start
failed=()
for exe in "$BUILD/windows/bin/"*_tests.exe; do
  name=$(basename "$exe")
  printf -- '-- %s\n' "$name"
  if ! (cd "$BUILD/windows/bin" && wine_run "./$name" --gtest_brief=1); then failed+=("$name"); fi
done
if [ ${#failed[@]} -gt 0 ]; then
  die "failed under Wine: ${failed[*]}"
fi
say "all tests passed"
