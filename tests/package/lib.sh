# Shared by the package tests: a small runner that counts checks and prints the closing line.
# Source it after tools/lib/common.sh.

PASSED=0
FAILED=0
pass() { printf '  ok    %s\n' "$1"; PASSED=$((PASSED + 1)); }
fail() { printf '  FAIL  %s\n' "$1"; FAILED=$((FAILED + 1)); }

# expect WHAT COMMAND...: one check, passed when COMMAND succeeds.
expect() {
  local what="$1"
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

# expect_eq WHAT WANT GOT
expect_eq() {
  if [ "$3" = "$2" ]; then pass "$1"; else fail "$1: got '$3', want '$2'"; fi
}

# Prints the closing line and ends the script: 0 when every check passed.
finish() {
  printf '%d passed, %d failed\n' "$PASSED" "$FAILED"
  [ "$FAILED" -eq 0 ]
}
