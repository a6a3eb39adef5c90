#!/usr/bin/env bash
# Builds one commit twice, from two copies of its files in two different folders and with a
# different umask, time zone and locale, then compares the SHA-256 of what is shipped: the
# Debian package, both Windows programs, the Windows zip and the Windows installer. Identical
# hashes prove that the files depend on the commit alone, not on where, when or by whom it was
# built. Takes two full release builds (about 15 minutes on 2 cores).
# Usage: scripts/check-reproducible.sh [COMMIT]   (default: HEAD; uncommitted changes are not
# part of it). KEEP=1 keeps the two build folders for diffoscope.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$root" rev-parse --verify "${1:-HEAD}^{commit}")
# File times in the packages: the commit's date.
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH
"$root/scripts/deps.sh" dpkg-dev file
"$root/scripts/deps.sh" --windows

work=$(mktemp -d "${TMPDIR:-/tmp}/ostrova-reproducible.XXXXXX")
[[ ${KEEP:-0} == 1 ]] || trap 'rm -rf "$work"' EXIT
folders=("$work/a/ostrova-settings" "$work/second-build/src")
build() {  # FOLDER: a fresh copy of the commit, then the Debian package and the Windows files
  mkdir -p "$1"
  git -C "$root" archive "$commit" | tar -x -C "$1"
  (cd "$1" && nice scripts/package.sh "$1/build-package" >"$1/package.log" 2>&1) ||
    { tail -20 "$1/package.log"; exit 1; }
  (cd "$1" && BUILD_TESTING=OFF nice scripts/package-windows.sh "$1/build-windows" \
    >"$1/package-windows.log" 2>&1) || { tail -20 "$1/package-windows.log"; exit 1; }
}
echo "building $commit in ${folders[0]}"
(umask 022 && export TZ=UTC LC_ALL=C.UTF-8 && build "${folders[0]}")
echo "building $commit in ${folders[1]}"
(umask 002 && export TZ=Asia/Tokyo LC_ALL=C && build "${folders[1]}")

shipped=(build-package/ostrova-settings_*.deb build-windows/src/app/ostrova-settings.exe
         build-windows/src/cli/ostrova-cfg.exe build-windows/ostrova-settings-*-win64.zip
         build-windows/ostrova-settings-*-win64-setup.exe)
differ=0
printf '%-64s  %-64s  %s\n' "first build (SHA-256)" "second build (SHA-256)" "file"
for pattern in "${shipped[@]}"; do
  a=$(cd "${folders[0]}" && ls $pattern) b=$(cd "${folders[1]}" && ls $pattern)
  ha=$(sha256sum <"${folders[0]}/$a" | cut -d' ' -f1)
  hb=$(sha256sum <"${folders[1]}/$b" | cut -d' ' -f1)
  verdict=identical
  if [[ $a != "$b" || $ha != "$hb" ]]; then
    verdict=DIFFERENT differ=1
  fi
  printf '%s  %s  %s: %s\n' "$ha" "$hb" "$a" "$verdict"
done
if ((differ)); then
  echo "not reproducible: compare the two folders with diffoscope (KEEP=1 keeps them)"
  exit 1
fi
echo "reproducible: both builds of $commit give the same bytes"
