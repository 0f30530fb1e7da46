#!/usr/bin/env bash
# Runs every test: the native suite, the Windows suites under Wine, then the release (packages
# installed under Wine, two builds compared). Installs what it needs.
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

say "release: tools/package.sh, the package under Wine, two more builds to compare"
"$ROOT/tools/package.sh" || failed+=(package.sh)
"$ROOT/tests/package/install_test.sh" || failed+=(install_test.sh)
"$ROOT/tests/package/reproducible_test.sh" || failed+=(reproducible_test.sh)
if [ ${#failed[@]} -gt 0 ]; then
  die "failed: ${failed[*]}"
fi
say "all tests passed"
