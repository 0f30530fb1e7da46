#!/usr/bin/env bash
# Builds a Release of the product and writes the release to dist/:
#   KestrovaCartImport-<version>-win64.zip  the program and a read-me, to unzip and run;
#   KestrovaCartImport-<version>-x64.msi    the per-machine Windows Installer package;
#   SHA256SUMS                              the checksums of both.
# The same commit gives the same bytes in any folder: every time in the files is the commit's
# (or SOURCE_DATE_EPOCH), files go in a fixed order, and every GUID comes from the version.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
source "$(dirname "$0")/lib/package.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
epoch="$(source_date_epoch)"
dir="$BUILD/package"
say "Release build of the product"
configure_windows "$dir"
cmake --build "$dir" --target KestrovaCartImport
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$dir/CMakeCache.txt")"
[ -n "$version" ] || die "no project version in $dir/CMakeCache.txt"

# The files as they go into the zip and the package: Windows line ends for the read-me; one mode
# and one time for all, since zip stores both.
stage="$dir/stage"
rm -rf "$stage"
mkdir -p "$stage"
cp "$dir/bin/KestrovaCartImport.exe" "$dir/import/KestrovaCartImport.ico" "$stage/"
sed 's/$/\r/' "$ROOT/package/README.txt" >"$stage/README.txt"
chmod 644 "$stage"/*
touch -d "@$epoch" "$stage"/*

name="KestrovaCartImport-$version"
dist="$ROOT/dist"
mkdir -p "$dist"
rm -f "$dist/$name-win64.zip" "$dist/$name-x64.msi" "$dist/SHA256SUMS"
say "dist/$name-win64.zip"
# -X: no extra fields (Unix owner, second time stamps); zip writes local time, hence TZ.
(cd "$stage" && TZ=UTC zip -X -D -q "$dist/$name-win64.zip" KestrovaCartImport.exe README.txt)
say "dist/$name-x64.msi"
make_msi "$stage" "$version" "$epoch" "$dir/import/KestrovaCartImport.wxs" "$dist/$name-x64.msi"
(cd "$dist" && sha256sum "$name-win64.zip" "$name-x64.msi" >SHA256SUMS)
say "release $version written to dist/"
(cd "$dist" && cat SHA256SUMS)
