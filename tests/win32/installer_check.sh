#!/usr/bin/env bash
# Installs the setup program silently for the current user in the wine prefix it is given,
# checks the files, the Start-menu entry and the uninstall entry that Settings, Apps shows
# (name, publisher, version, icon, size), uninstalls, and checks that nothing is left: files,
# folders, shortcuts, registry keys. No administrator rights are asked for (the script says so
# itself). Usage: installer_check.sh SETUP.exe VERSION
set -euo pipefail
setup=$1 version=$2
users="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}"
[[ -d $users ]] || users=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)
folder="$users/AppData/Local/Programs/Ostrova+ Settings"
menu="$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Ostrova+ Settings"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
fail() { echo "installer: $*" >&2; exit 1; }
# Two minutes at most: under load the uninstaller, which copies itself away first, is slow.
wait_for() { for _ in $(seq 600); do eval "$1" && return 0; sleep 0.2; done; return 1; }

wine "$setup" /S >"$log" 2>&1 || fail "the silent install failed"
wait_for '[[ -f "$folder/Uninstall.exe" ]]' || fail "nothing installed in $folder"
for file in ostrova-settings.exe ostrova-cfg.exe README.txt; do
  [[ -f "$folder/$file" ]] || fail "$file missing"
done
[[ -f "$menu/Ostrova+ Settings.lnk" ]] || fail "no Start-menu entry"
uninstall='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ostrova+ Settings'
wine reg query "$uninstall" >"$log" 2>&1 || fail "no uninstall entry for the user"
entry() { grep -E "^ +$1 +$2 +$3"$'\r?$' "$log" >/dev/null || fail "uninstall entry: no $1 $3"; }
entry DisplayName REG_SZ 'Ostrova\+ Settings'
entry Publisher REG_SZ 'Ostrova\+ team'
entry DisplayVersion REG_SZ "${version//./\\.}"
entry DisplayIcon REG_SZ '.*\\ostrova-settings\.exe'
entry UninstallString REG_SZ '"?.*\\Uninstall\.exe"?'
entry EstimatedSize REG_DWORD '0x[0-9a-f]*[1-9a-f][0-9a-f]*'

wine "$folder/Uninstall.exe" /S >"$log" 2>&1 || fail "the uninstaller failed"
if ! wait_for '[[ ! -e "$folder" && ! -e "$menu" ]]'; then
  find "$folder" "$menu" 2>/dev/null | head -20 >&2 || true
  fail "left behind after uninstalling"
fi
for key in "$uninstall" 'HKCU\Software\Ostrova+ team'; do
  ! wine reg query "$key" >"$log" 2>&1 || fail "the registry keeps $key"
done
echo "installer: installed for the user, with its Start-menu and uninstall entries, and removed"
