#!/usr/bin/env bash
# Runs a Windows program under wine with the screen at another DPI (the LogPixels value of the
# prefix scripts/test-windows.sh prepares), then puts the previous value back.
# Usage: at_dpi.sh DPI PROGRAM.exe [ARGS...]
set -euo pipefail
dpi=$1
shift
key='HKCU\Control Panel\Desktop'
# Output to files: a pipe would be inherited by the wine server and never end.
saved=$(mktemp)
trap 'rm -f "$saved"' EXIT
if wine reg query "$key" /v LogPixels >"$saved" 2>/dev/null; then
  previous=$(sed -n 's/.*LogPixels[[:space:]]*REG_DWORD[[:space:]]*\(0x[0-9a-fA-F]*\).*/\1/p' "$saved")
else
  previous=
fi
restore() {
  if [[ -n $previous ]]; then
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$((previous))" /f >/dev/null 2>&1
  else
    wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1
  fi
  rm -f "$saved"
}
trap restore EXIT
wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wine "$@"
