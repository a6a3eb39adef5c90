#!/usr/bin/env bash
# Installs the setup program silently for the current user in the wine prefix it is given,
# checks the files, the Start-menu entry and the uninstall entry, uninstalls, and checks that
# nothing is left. No administrator rights are asked for (the script says so itself).
# Usage: installer_check.sh SETUP.exe
set -euo pipefail
setup=$1
users="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}"
[[ -d $users ]] || users=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)
folder="$users/AppData/Local/Programs/Ostrova+ Settings"
menu="$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Ostrova+ Settings"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
fail() { echo "installer: $*" >&2; exit 1; }
wait_for() { for _ in $(seq 150); do eval "$1" && return 0; sleep 0.2; done; return 1; }

wine "$setup" /S >"$log" 2>&1 || fail "the silent install failed"
wait_for '[[ -f "$folder/Uninstall.exe" ]]' || fail "nothing installed in $folder"
for file in ostrova-settings.exe ostrova-cfg.exe README.txt; do
  [[ -f "$folder/$file" ]] || fail "$file missing"
done
[[ -f "$menu/Ostrova+ Settings.lnk" ]] || fail "no Start-menu entry"
wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ostrova+ Settings' \
    >"$log" 2>&1 || fail "no uninstall entry for the user"
grep -q 'DisplayIcon.*ostrova-settings.exe' "$log" || fail "the uninstall entry has no icon"

wine "$folder/Uninstall.exe" /S >"$log" 2>&1 || fail "the uninstaller failed"
wait_for '[[ ! -e "$folder/ostrova-settings.exe" && ! -e "$menu" ]]' || fail "left behind after uninstalling"
echo "installer: installed for the user, with its Start-menu entry, and removed again"
