#!/usr/bin/env bash
# The main job: builds what is missing and runs the demo import under Wine.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${WINE_PACKAGES[@]}"
say "Windows build"
build_windows
say "the cart import arrives with the next step; the registry component is built and tested"
