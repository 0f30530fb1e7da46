#!/usr/bin/env bash
# CTest's runner for the cross build's test programs: runs one under Wine, in the project's prefix.
# tools/test.sh starts the prefix's server and a display once, before ctest; run on its own (say
# `ctest --test-dir build/windows` by hand), this starts them for the one program and stops them
# after it, never touching ~/.wine.
set -uo pipefail
source "$(dirname "$0")/common.sh"

if [ -z "${WINEPREFIX:-}" ]; then
  trap wine_stop EXIT
  wine_start >/dev/null 2>&1
fi
wine_run "$@"
