# Shared by tools/package.sh and the package tests: the Windows Installer package and the names it
# needs. Source it after common.sh.

PACKAGE_PACKAGES=(wixl msitools faketime uuid-runtime zip)

# Namespace of the package's name-based UUIDs (RFC 4122 version 5). Never change it: the product
# and component codes of every version already released are derived under it.
UUID_NAMESPACE=ABB81D46-5BB5-4E6A-BF49-9594D6C7873A

# The time of every file and time stamp in the release: SOURCE_DATE_EPOCH when it is set, else the
# time of the commit that is checked out.
source_date_epoch() {
  if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    printf '%s\n' "$SOURCE_DATE_EPOCH"
  else
    git -C "$ROOT" log -1 --format=%ct 2>/dev/null ||
      die "not a git checkout: set SOURCE_DATE_EPOCH to the release's time (seconds since 1970)"
  fi
}

# A GUID in Windows Installer's form (upper case), the same for the same name on every machine.
name_uuid() { uuidgen --sha1 --namespace "$UUID_NAMESPACE" --name "$1" | tr '[:lower:]' '[:upper:]'; }

# The product code of a version: a new one for every version, as a major upgrade needs.
product_code() { name_uuid "product $1"; }

# make_msi FOLDER VERSION EPOCH WXS OUTPUT: builds the package from KestrovaCartImport.exe and
# KestrovaCartImport.ico in FOLDER, whose times must already be EPOCH.
make_msi() {
  local folder="$1" version="$2" epoch="$3" wxs="$4" output="$5" inputs package_code clock
  # wixl (0.101) stamps the summary information with the current time, ignoring SOURCE_DATE_EPOCH,
  # and gives every package a random package code: run it on a stopped clock at EPOCH, then set a
  # package code that is new whenever the version or any input changes.
  inputs="$(cd "$folder" && sha256sum KestrovaCartImport.exe KestrovaCartImport.ico - <"$wxs" | cut -d' ' -f1)"
  package_code="$(name_uuid "package $version $(printf '%s' "$inputs" | tr '\n' ' ')")"
  clock="$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S')"
  rm -f "$output"
  (cd "$folder" && TZ=UTC faketime -f "$clock" wixl --arch x64 --output "$output" \
    -D Version="$version" -D ProductCode="$(product_code "$version")" \
    -D ExeComponent="$(name_uuid "component INSTALLDIR KestrovaCartImport.exe")" "$wxs")
  TZ=UTC faketime -f "$clock" msibuild "$output" -s "Kestrova Cart Import $version" \
    "$(msiinfo suminfo "$output" | sed -n 's/^Author: //p')" "x64;1033" "{$package_code}"
}
