#!/usr/bin/env bash
# Lint, every finding an error: the formatting of every C++ source that git tracks (.clang-format),
# then clang-tidy with the repository's .clang-tidy over the compile commands of a native
# configuration with every native program, the benchmark included (build/lint, configured here), one
# file per core. Installs what it needs.
#
# Usage: tools/lint.sh [--windows]
#   --windows  also runs clang-tidy over the files that only the cross build compiles (*_windows.cpp,
#              testbed/, the Windows suites), from the Windows build's compile commands (build/windows,
#              configured here; nothing needs to be built first). Slow: most of the time goes to
#              parsing windows.h.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

windows=false
case "${1:-}" in
  "") ;;
  --windows) windows=true ;;
  *) die "usage: tools/lint.sh [--windows]" ;;
esac

ensure_packages "${BUILD_PACKAGES[@]}" "${BENCHMARK_PACKAGES[@]}" clang-format clang-tidy
cd "$ROOT"

say "formatting: clang-format --dry-run -Werror over the C++ sources git tracks"
git ls-files -z -- '*.h' '*.cpp' | xargs -0 clang-format --dry-run -Werror
echo "formatting is clean"

# run-clang-tidy prints each command it runs (with colours always on) and clang's count of the
# warnings it suppressed (those in system headers); only the findings are of interest.
# tidy BUILD FILES [ARGS...]: FILES is a regular expression over the source paths.
tidy() {
  local build="$1" files="$2"
  shift 2
  say "clang-tidy over $build/compile_commands.json"
  set +e
  run-clang-tidy -p "$build" -quiet -j "$(nproc)" "$@" "$files" 2>&1 | sed 's/\x1b\[[0-9;]*m//g' |
    grep -v -E '^(clang-tidy(-[0-9]+)? |[0-9]+ warnings?( and [0-9]+ errors?)? generated\.$)'
  local status=${PIPESTATUS[0]}
  set -e
  return "$status"
}

# A configuration of its own, not build/native: the tests' build leaves the benchmark out.
native="$BUILD/lint"
cmake -S "$ROOT" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKCI_BENCHMARKS=ON >/dev/null
status=0
tidy "$native" "$ROOT/" || status=1
if $windows; then
  # The configuration is all that clang-tidy needs: no C++ file includes anything that the build
  # makes. The same one as tools/test.sh's, which then builds in it.
  configure_windows "$BUILD/windows"
  # Only the C++ files that the native pass has not seen (not the resource scripts, not GoogleTest).
  only_windows=$(python3 - "$BUILD/windows/compile_commands.json" "$native/compile_commands.json" <<'PY'
import json, re, sys
windows = {entry["file"] for entry in json.load(open(sys.argv[1]))}
native = {entry["file"] for entry in json.load(open(sys.argv[2]))}
files = sorted(f for f in windows - native if f.endswith(".cpp") and "/googletest/" not in f)
print("^(" + "|".join(re.escape(f) for f in files) + ")$")
PY
  )
  # Clang finds MinGW's C headers by the compiler's name but not libstdc++ of the posix variant.
  gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
  tidy "$BUILD/windows" "$only_windows" -extra-arg=-isystem"$gcc_dir/include/c++" \
    -extra-arg=-isystem"$gcc_dir/include/c++/x86_64-w64-mingw32" || status=1
fi
[ "$status" -eq 0 ] || die "clang-tidy has findings (above)"
say "lint is clean"
