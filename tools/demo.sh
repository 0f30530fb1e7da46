#!/usr/bin/env bash
# The main job: builds what is missing, starts the stand-in quoting application under Wine, puts
# the example cart into the Documents folder that the prefix's registry names (unless a
# ShoppingCart.csv is there already), runs the import and prints every message box it showed and
# then the quote's line items. With a display the windows are real: close the message boxes, and
# at the end the stand-in's window, yourself. Without one the dialog robot answers the boxes.
#
# Usage: tools/demo.sh [CART]
#   CART  a cart file to import instead, handed to the program as its argument (as when a cart is
#         dropped on it), e.g. examples/ShoppingCart-de.csv, the demo's cart as a German
#         spreadsheet saves it.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

cart_argument=()
if [ $# -gt 1 ]; then
  die "usage: tools/demo.sh [CART]"
elif [ $# -eq 1 ]; then
  [ -f "$1" ] || die "no such cart file: $1"
  cart_file="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
fi

ensure_packages "${BUILD_PACKAGES[@]}" "${WINE_PACKAGES[@]}"
ensure_locales  # for a demo under other regional settings: LC_ALL=de_DE.UTF-8 tools/demo.sh
say "Windows build"
build_windows

watch=()
[ -n "${DISPLAY:-}" ] && watch=(--watch)
trap wine_stop EXIT
say "Wine prefix"
wine_start

win() { winepath -w "$1" </dev/null 2>/dev/null; }
if [ -n "${cart_file:-}" ]; then
  cart_argument=(--cart "$(win "$cart_file")")
  say "importing $cart_file, given as the program's argument"
else
  # The Documents folder as the importer finds it: the "Personal" shell folder of the prefix's user.
  key="$SHELL_FOLDERS_KEY"
  query="$(wine reg query "$key" /v Personal </dev/null 2>/dev/null | tr -d '\r' || true)"
  documents="$(printf '%s\n' "$query" | sed -n 's/^ *Personal *REG_[A-Z_]*SZ *//p')"
  [ -n "$documents" ] || die "the prefix's registry names no Documents folder (\"Personal\" under $key)"
  documents_unix="$(winepath -u "$documents" </dev/null 2>/dev/null)"
  mkdir -p "$documents_unix"
  cart="$documents_unix/ShoppingCart.csv"
  if [ -e "$cart" ]; then
    say "using the cart that is there already: $documents\\ShoppingCart.csv"
  else
    cp "$ROOT/examples/ShoppingCart.csv" "$cart"
    say "put examples/ShoppingCart.csv into $documents"
  fi
fi

demo="$BUILD/demo"
mkdir -p "$demo"
say "import"
status=0
(cd "$BUILD/windows/bin" &&
  wine_run ./import_demo.exe --journal "$(win "$demo/journal.jsonl")" --items "$(win "$demo/items.jsonl")" \
    --transcript "$(win "$demo/transcript.jsonl")" "${watch[@]}" "${cart_argument[@]}") || status=$?
printf '\nThe stand-in'"'"'s journal, items and the robot'"'"'s transcript are in %s\n' "${demo#"$ROOT"/}"
exit "$status"
