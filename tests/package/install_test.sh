#!/usr/bin/env bash
# The release under Wine: the msi's install, the program run from it and from the zip, upgrade,
# uninstall. Each case starts from a fresh prefix of its own in build/package-tests/CASE/. Needs
# the release from tools/package.sh and the dialog robot from the Windows build (tools/test.sh
# makes both first).
# Arguments: the cases to run (install run upgrade uninstall), all by default.
set -uo pipefail
source "$(dirname "$0")/../../tools/lib/common.sh"
source "$ROOT/tools/lib/package.sh"
source "$ROOT/tests/package/lib.sh"

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/package/CMakeCache.txt")"
msi="$ROOT/dist/KestrovaCartImport-$version-x64.msi"
zip="$ROOT/dist/KestrovaCartImport-$version-win64.zip"
robot="$BUILD/windows/bin/DialogRobot.exe"
[ -f "$msi" ] || die "no $msi: run tools/package.sh first"
[ -f "$robot" ] || die "no $robot: build the Windows programs first"
work="$BUILD/package-tests"
uninstall_root='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
verb_key='HKLM\Software\Classes\SystemFileAssociations\.csv\shell\KestrovaCartImport'
install_dir='C:\Program Files\Kestrova Cart Import'
verb_string_id="$(sed -n 's/^#define KCI_VERB_STRING_ID \([0-9]*\)$/\1/p' "$ROOT/import/languages.h")"

win() { winepath -w "$1" </dev/null 2>/dev/null; }
unix() { winepath -u "$1" </dev/null 2>/dev/null; }

# msi ARGS...: msiexec, silent, with a verbose log in the case's folder; its exit code.
msi() {
  msi_runs=$((msi_runs + 1))
  wine_run msiexec "$@" /qn /l*v "$(win "$case_dir/msiexec-$msi_runs.log")" </dev/null
}

# reg_value KEY NAME: the value's data as reg.exe prints it, or nothing.
reg_value() {
  wine reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

# reg_default KEY: the key's default value as reg.exe prints it, or nothing.
reg_default() {
  wine reg query "$1" /ve </dev/null 2>/dev/null | tr -d '\r' | sed -n 's/^ *([^)]*) *REG_[A-Z_]* *//p'
}

key_missing() { ! wine reg query "$1" </dev/null >/dev/null 2>&1; }

# Our entries in Apps and Features: one line "KEY VERSION" for each with our DisplayName.
our_entries() {
  wine reg query "$uninstall_root" /s </dev/null 2>/dev/null | tr -d '\r' | awk '
    /^HKEY_/ { key = $0; name = ""; next }
    /^ *DisplayName +REG_SZ +Kestrova Cart Import$/ { ours[key] = 1 }
    /^ *DisplayVersion +REG_SZ/ { version[key] = $3 }
    END { for (k in ours) print k, version[k] }'
}

# The folder that the last install resolved ProgramMenuFolder to, from its log.
program_menu_folder() {
  unix "$(tr -d '\r' <"$case_dir/msiexec-$msi_runs.log" | sed -n 's/^Property(S): ProgramMenuFolder = //p' | tail -1)"
}

# The texts in a shortcut: the target's path is stored in ANSI, the icon's in UTF-16.
lnk_strings() { strings -a "$1"; strings -el "$1"; }

shortcuts() { find "$WINEPREFIX/drive_c" -name 'Import Kestrova cart.lnk' | wc -l; }
installed_exe() { printf '%s\n' "$WINEPREFIX/drive_c/Program Files/Kestrova Cart Import/KestrovaCartImport.exe"; }

# Starts the case in a fresh prefix.
start_case() {
  case_dir="$work/$1"
  msi_runs=0
  [ -n "${WINEPREFIX:-}" ] && { wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; }
  rm -rf "$case_dir"
  mkdir -p "$case_dir"
  say "$1 (fresh prefix ${case_dir#"$ROOT"/}/prefix)"
  wine_start "$case_dir/prefix"
}

case_install() {
  local code lnk folder icon key csv_before
  csv_before="$(reg_default 'HKLM\Software\Classes\.csv')"
  expect "msiexec /i exits with 0" msi /i "$(win "$msi")"
  expect "the program is installed byte for byte" cmp -s "$BUILD/package/bin/KestrovaCartImport.exe" "$(installed_exe)"
  code="$(product_code "$version")"
  key="$uninstall_root\\{$code}"
  expect_eq "Apps and Features: DisplayName" "Kestrova Cart Import" "$(reg_value "$key" DisplayName)"
  expect_eq "Apps and Features: DisplayVersion" "$version" "$(reg_value "$key" DisplayVersion)"
  expect_eq "Apps and Features: Publisher" "Kestrova" "$(reg_value "$key" Publisher)"
  expect_eq "Apps and Features: DisplayIcon" "$install_dir\\KestrovaCartImport.exe,0" "$(reg_value "$key" DisplayIcon)"
  expect_eq "Apps and Features: no Change button" "0x1" "$(reg_value "$key" NoModify)"
  # Windows puts a per-machine shortcut into the common Start menu; Wine 8 resolves
  # ProgramMenuFolder to the user's one even then. The shortcut must be where the installer put it.
  folder="$(program_menu_folder)"
  lnk="$folder/Import Kestrova cart.lnk"
  expect "Start menu: 'Import Kestrova cart' in ProgramMenuFolder ($folder)" test -f "$lnk"
  expect "Start menu: the shortcut points at the installed program" \
    grep -q -F "$install_dir\\KestrovaCartImport.exe" <(lnk_strings "$lnk")
  icon="$(lnk_strings "$lnk" | grep -o -i 'C:\\windows\\Installer\\.*\.ico' | head -1)"
  expect "Start menu: the shortcut's icon is ours ($icon)" \
    cmp -s "$BUILD/package/import/KestrovaCartImport.ico" "$(unix "$icon")"
  expect_eq "Explorer verb on .csv files: its text" "Import into Brevanto" "$(reg_default "$verb_key")"
  expect_eq "Explorer verb: its text in the user's language, from the program's string table" \
    "@$install_dir\\KestrovaCartImport.exe,-$verb_string_id" "$(reg_value "$verb_key" MUIVerb)"
  expect_eq "Explorer verb: the program's icon" "$install_dir\\KestrovaCartImport.exe,0" "$(reg_value "$verb_key" Icon)"
  expect_eq "Explorer verb: one file at a time" "Single" "$(reg_value "$verb_key" MultiSelectModel)"
  expect_eq "Explorer verb: the command passes the file quoted" "\"$install_dir\\KestrovaCartImport.exe\" \"%1\"" \
    "$(reg_default "$verb_key\\command")"
  expect_eq "Explorer verb: the default program of .csv files is left alone" "$csv_before" \
    "$(reg_default 'HKLM\Software\Classes\.csv')"
}

# expect_missing_cart LABEL PROGRAM: runs PROGRAM (a Windows path) under the dialog robot. There is
# no cart in the fresh prefix's Documents folder: the program must say so and end.
expect_missing_cart() {
  local transcript="$case_dir/transcript-$1.jsonl" documents want
  documents="$(reg_value "$SHELL_FOLDERS_KEY" Personal)"
  (cd "$BUILD/windows/bin" && wine_run ./DialogRobot.exe --transcript "$(win "$transcript")" --timeout 60 -- \
    "$2" </dev/null)
  expect "$1: the dialog robot ran the program to its end" test $? -eq 0
  want="The Kestrova shopping cart file '$documents\\ShoppingCart.csv' was not found. Import cancelled!"
  want="{\"title\":\"Kestrova Cart Import\",\"text\":\"${want//\\/\\\\}\",\"icon\":\"exclamation\",\"buttons\":[\"OK\"]}"
  expect_eq "$1: the program shows the missing cart message" "$want" "$(sed -n 1p "$transcript" | tr -d '\r')"
  expect_eq "$1: and exits with 0" '{"exit_code":0}' "$(sed -n 2p "$transcript" | tr -d '\r')"
}

case_run() {
  expect "msiexec /i exits with 0" msi /i "$(win "$msi")"
  expect_missing_cart installed "$install_dir\\KestrovaCartImport.exe"
  # The zip's program runs from any folder, without installation.
  unzip -q "$zip" -d "$case_dir/unzipped"
  expect_eq "the zip holds the program and the read-me" "KestrovaCartImport.exe README.txt" \
    "$(cd "$case_dir/unzipped" && echo *)"
  expect_missing_cart unzipped "$(win "$case_dir/unzipped/KestrovaCartImport.exe")"
}

case_upgrade() {
  local older=0.9.0 entries
  local older_msi="$case_dir/KestrovaCartImport-$older-x64.msi"
  # An older release of the same program: the package of this build under a lower version.
  make_msi "$BUILD/package/stage" "$older" "$(source_date_epoch)" "$BUILD/package/import/KestrovaCartImport.wxs" \
    "$older_msi" >/dev/null
  expect "msiexec /i of version $older exits with 0" msi /i "$(win "$older_msi")"
  expect_eq "version $older is installed" "$uninstall_root\\{$(product_code "$older")} $older" \
    "$(our_entries | sed 's/^HKEY_LOCAL_MACHINE/HKLM/')"
  expect "msiexec /i of version $version over it exits with 0" msi /i "$(win "$msi")"
  entries="$(our_entries | sed 's/^HKEY_LOCAL_MACHINE/HKLM/')"
  expect_eq "one installation is left, version $version" "$uninstall_root\\{$(product_code "$version")} $version" "$entries"
  expect_eq "one Start-menu shortcut" 1 "$(shortcuts)"
  expect "the program is installed byte for byte" cmp -s "$BUILD/package/bin/KestrovaCartImport.exe" "$(installed_exe)"
  # A downgrade is refused and leaves the newer version in place.
  msi /i "$(win "$older_msi")"
  expect "msiexec /i of version $older over $version fails" test $? -ne 0
  expect_eq "version $version is still the one installation" "$entries" \
    "$(our_entries | sed 's/^HKEY_LOCAL_MACHINE/HKLM/')"
}

# msi_packed GUID: a GUID as Windows Installer writes it into its own registry keys (each group
# reversed, the last two groups byte by byte).
msi_packed() {
  local g="${1//-/}"
  local rev=""
  local i
  for i in 7 6 5 4 3 2 1 0 11 10 9 8 15 14 13 12; do rev+="${g:i:1}"; done
  for ((i = 16; i < 32; i += 2)); do rev+="${g:i+1:1}${g:i:1}"; done
  printf '%s\n' "$rev"
}

# Every registry key and file of the prefix that names us.
traces_of_us() {
  local code hive
  code="$(product_code "$version")"
  for hive in HKLM HKCU; do
    wine reg export "$hive" "$(win "$case_dir/$hive.reg")" /y </dev/null >/dev/null 2>&1
    iconv -f UTF-16 -t UTF-8 "$case_dir/$hive.reg" | tr -d '\r' |
      grep -i -e 'kestrova' -e "$code" -e "$(msi_packed "$code")" | sed "s/^/$hive: /"
  done
  # Installed files keep the package's time stamps: only the kinds that Windows Installer creates
  # itself (shortcut, cached package, cached icon) are told apart by their time.
  find "$WINEPREFIX/drive_c" \( -iname '*kestrova*' -o -iname "*$code*" \) -o \
    -newer "$case_dir/before" \( -iname '*.lnk' -o -iname '*.msi' -o -iname '*.ico' \)
}

case_uninstall() {
  touch "$case_dir/before"
  sleep 1
  expect "msiexec /i exits with 0" msi /i "$(win "$msi")"
  local traces
  traces="$(traces_of_us)"
  expect "installed: $(printf '%s\n' "$traces" | grep -c .) registry lines and files name us" test -n "$traces"
  expect "msiexec /x exits with 0" msi /x "$(win "$msi")"
  expect_eq "no file, shortcut or registry entry of ours is left" "" "$(traces_of_us)"
  expect "the Explorer verb's key is gone" key_missing "$verb_key"
  expect "the program's folder is gone" test ! -e "$WINEPREFIX/drive_c/Program Files/Kestrova Cart Import"
}

ensure_packages "${WINE_PACKAGES[@]}" binutils unzip
trap wine_stop EXIT
cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=(install run upgrade uninstall)
for name in "${cases[@]}"; do
  start_case "$name"
  "case_$name"
done
finish
