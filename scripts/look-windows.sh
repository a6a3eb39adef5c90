#!/usr/bin/env bash
# Screenshots of the Windows program under wine on a private 1280 x 1024 display, one per DPI
# (the prefix's LogPixels), to look at the form: every control present, aligned, readable.
# Usage: scripts/look-windows.sh OUT_DIR [DPI...]   (default 96 120 144)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
shift
dpis=("$@")
[[ ${#dpis[@]} -gt 0 ]] || dpis=(96 120 144)
build=${BUILD_DIR:-$root/build-windows}
TARGET=ostrova-settings "$root/scripts/build-windows.sh" "$build" >/dev/null
source "$root/scripts/private-display.sh"
source "$root/scripts/wine-prefix.sh"
work=$(mktemp -d)
trap 'wine_prefix_cleanup; kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$build/src/app/ostrova-settings.exe" "$work/"
cd "$work"
for dpi in "${dpis[@]}"; do
  # Output to files: a pipe would be inherited by the wine server and never end.
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
      >"$work/reg.log" 2>&1
  wine ./ostrova-settings.exe >"$work/program-$dpi.log" 2>&1 &
  program=$!
  sleep 5  # started, laid out and painted
  import -window root "$out/ostrova-settings-$dpi-dpi.png"
  wineserver -k >/dev/null 2>&1 || true  # ends the program and the server of this prefix
  wait "$program" 2>/dev/null || true
  wineserver -p >>"$work/reg.log" 2>&1
  echo "$out/ostrova-settings-$dpi-dpi.png"
done
