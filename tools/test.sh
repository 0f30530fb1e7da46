#!/usr/bin/env bash
# Runs every test: the native suite, the Windows suites under Wine, then the release (packages
# installed under Wine, two builds compared). Installs what it needs.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${WINE_PACKAGES[@]}"
ensure_locales
# The regional runs below set LC_ALL in this shell, which cannot load a locale made since it started.
[ -z "$LOCALES_MADE" ] || exec "$BASH" "$0" "$@"

say "native build and tests"
build_native
ctest --test-dir "$BUILD/native" --output-on-failure

say "Windows build"
build_windows

say "Windows tests under Wine"
trap wine_stop EXIT
wine_start
failed=()
ctest --test-dir "$BUILD/windows" --output-on-failure || failed+=("Windows suites")

# The numbers, the display language and the demo's cart again under other regional settings:
# German, French, and the United States ones with "," and "." swapped by hand. Wine takes the
# user's locale (and display language) from the Unix locale of the process that starts a program
# tree, so each setting gets a wineserver and suites of its own; the suites check that the setting
# took effect (KCI_USER_LOCALE, KCI_USER_DECIMAL).
regional() {  # LC_ALL LOCALE DECIMAL [swapped]
  local status=0
  # separators DECIMAL THOUSAND: the user's own, as a hand change in Regional Settings leaves them.
  separators() {
    local intl='HKCU\Control Panel\International'
    LC_ALL="$1" wine reg add "$intl" /v sDecimal /d "$2" /f >/dev/null 2>&1 </dev/null
    LC_ALL="$1" wine reg add "$intl" /v sThousand /d "$3" /f >/dev/null 2>&1 </dev/null
  }
  printf -- '-- %s, decimal separator "%s"%s\n' "$2" "$3" "${4:+ (swapped by hand)}"
  LC_ALL="$1" wine_start
  [ -z "${4:-}" ] || separators "$1" , .
  (cd "$BUILD/windows/bin" && export LC_ALL="$1" KCI_USER_LOCALE="$2" KCI_USER_DECIMAL="$3" &&
    wine_run ./common_tests.exe --gtest_brief=1 --gtest_filter='*TextToDouble*' &&
    wine_run ./e2e_tests.exe --gtest_brief=1 --gtest_filter='RegionalSettings.*:*SpreadsheetCart.*') || status=1
  [ -z "${4:-}" ] || separators "$1" . ,
  return "$status"
}
say "Windows tests under other regional settings"
regional de_DE.UTF-8 de-DE , || failed+=("regional de-DE")
regional fr_FR.UTF-8 fr-FR , || failed+=("regional fr-FR")
regional C.UTF-8 en-US , swapped || failed+=("regional en-US swapped")

say "release: tools/package.sh, the package under Wine, two more builds to compare"
"$ROOT/tools/package.sh" || failed+=(package.sh)
"$ROOT/tests/package/install_test.sh" || failed+=(install_test.sh)
"$ROOT/tests/package/reproducible_test.sh" || failed+=(reproducible_test.sh)
if [ ${#failed[@]} -gt 0 ]; then
  die "failed: ${failed[*]}"
fi
say "all tests passed"
