#!/usr/bin/env bash
# Installs the build into a staging prefix and checks what a desktop expects to find there.
set -euo pipefail
build_dir=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

cmake --install "$build_dir" --prefix "$stage/usr" >/dev/null

fail=0
expect() {
  if [[ ! -e $stage/usr/$1 ]]; then
    echo "missing: $1"
    fail=1
  fi
}
expect bin/ostrova-settings
expect bin/ostrova-cfg
expect share/applications/ostrova-settings.desktop
expect share/icons/hicolor/scalable/apps/ostrova-settings.svg
for size in 16 22 24 32 48 64 128 256; do
  expect "share/icons/hicolor/${size}x${size}/apps/ostrova-settings.png"
done
[[ -x $stage/usr/bin/ostrova-settings ]] || { echo "ostrova-settings is not executable"; fail=1; }

desktop=$stage/usr/share/applications/ostrova-settings.desktop
desktop-file-validate "$desktop" || fail=1
grep -qx 'Exec=ostrova-settings' "$desktop" || { echo "Exec is not the installed program"; fail=1; }
grep -qx 'Terminal=false' "$desktop" || { echo "the entry must not ask for a terminal"; fail=1; }
grep -qx 'Icon=ostrova-settings' "$desktop" || { echo "the entry names another icon"; fail=1; }

# The installed command-line tool runs from its new place.
"$stage/usr/bin/ostrova-cfg" --help >/dev/null || { echo "ostrova-cfg does not run"; fail=1; }
exit $fail
