#!/usr/bin/env bash
# The import's cost under Wine against the stand-in: imports a generated 200-line cart and prints
# round trips per imported line by kind (from the stand-in's journal), time per line, the bare
# round trip of one Invoke measured against the same stand-in, and their ratio. Then counts, from
# Wine's own trace, every call the importer makes to another process (COM's reference counting and
# interface queries included, which the journal cannot see). Arguments go to import_benchmark.exe
# (--lines N, --repeat R, --calls C).
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${WINE_PACKAGES[@]}"
say "Windows build"
build_windows
trace_lines=3
trace="$(mktemp)"
trap 'rm -f "$trace"; wine_stop' EXIT
wine_start
say "import benchmark"
(cd "$BUILD/windows/bin" && wine ./import_benchmark.exe --trace-lines "$trace_lines" "$@" 2>"$trace") ||
  { grep -v -e '^[0-9a-f]*:trace:' -e 'wine32' "$trace" >&2 || true; die "the benchmark failed"; }

# One "NdrProxySendReceive" trace line per call through a COM proxy; the importer's only.
awk -v k="$trace_lines" '
  /^@@ trace / { section = $3; next }
  /^@@ end/    { section = ""; next }
  section != "" && /NdrProxySendReceive/ { calls[section]++ }
  END {
    fixed = calls[0] + 0; full = calls[k] + 0
    printf "\nCalls through COM proxies, from Wine'"'"'s trace of the importer (every cross-process call it makes):\n"
    printf "  once per run (header-only cart): %d\n", fixed
    printf "  per imported line (%d-line cart less header only): %.2f\n", k, (full - fixed) / k
  }' "$trace"
