#!/usr/bin/env bash
# The main job: builds what is missing, starts the stand-in quoting application under Wine, puts
# the example cart into the Documents folder that the prefix's registry names (unless a
# ShoppingCart.csv is there already), runs the import and prints every message box it showed and
# then the quote's line items. With a display the windows are real: close the message boxes, and
# at the end the stand-in's window, yourself. Without one the dialog robot answers the boxes.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${WINE_PACKAGES[@]}"
ensure_locales  # for a demo under other regional settings: LC_ALL=de_DE.UTF-8 tools/demo.sh
say "Windows build"
build_windows

watch=()
[ -n "${DISPLAY:-}" ] && watch=(--watch)
trap wine_stop EXIT
say "Wine prefix"
wine_start

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

demo="$BUILD/demo"
mkdir -p "$demo"
win() { winepath -w "$1" </dev/null 2>/dev/null; }
say "import"
status=0
(cd "$BUILD/windows/bin" &&
  wine_run ./import_demo.exe --journal "$(win "$demo/journal.jsonl")" --items "$(win "$demo/items.jsonl")" \
    --transcript "$(win "$demo/transcript.jsonl")" "${watch[@]}") || status=$?
printf '\nThe stand-in'"'"'s journal, items and the robot'"'"'s transcript are in %s\n' "${demo#"$ROOT"/}"
exit "$status"
