#!/usr/bin/env bash
# Two builds of the checked-out commit, each in a fresh clone in a folder of its own (of different
# depths), must give byte-identical programs and release files: tools/package.sh run in each, then
# the results compared. Uncommitted changes are not part of the commit and not built.
set -uo pipefail
source "$(dirname "$0")/../../tools/lib/common.sh"
source "$ROOT/tests/package/lib.sh"

commit="$(git -C "$ROOT" rev-parse HEAD)"
work="$BUILD/reproducible"
rm -rf "$work"
clones=("$work/first" "$work/second/in/a/deeper/folder")
for clone in "${clones[@]}"; do
  say "tools/package.sh in a clone of $commit at ${clone#"$ROOT"/}"
  git clone -q "$ROOT" "$clone" && git -C "$clone" checkout -q --detach "$commit"
  (cd "$clone" && env -u SOURCE_DATE_EPOCH tools/package.sh >"$clone.log" 2>&1)
  expect "tools/package.sh succeeds (log: ${clone#"$ROOT"/}.log)" test $? -eq 0
  expect "it writes the zip, the msi and SHA256SUMS" test "$(ls "$clone/dist" | grep -c -E '^(KestrovaCartImport-.*-(win64\.zip|x64\.msi)|SHA256SUMS)$')" -eq 3
done

say "comparing the two builds"
first="${clones[0]}" second="${clones[1]}"
expect "KestrovaCartImport.exe is the same" cmp "$first/build/package/bin/KestrovaCartImport.exe" \
  "$second/build/package/bin/KestrovaCartImport.exe"
for file in "$first"/dist/KestrovaCartImport-* "$first/dist/SHA256SUMS"; do
  name="$(basename "$file")"
  expect "$name is the same" cmp "$file" "$second/dist/$name"
done
if finish; then rm -rf "$work"; else exit 1; fi
