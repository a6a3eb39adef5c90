#!/usr/bin/env bash
# Sourced: makes a fresh, quiet wine prefix in a temporary folder, alike on every machine, and
# starts its wine server. Exports WINEPREFIX; wine_prefix_cleanup ends the server and removes it.
#   window-manager decorations off (Managed=N: modal dialogs do not stall under a bare Xvfb),
#   Times New Roman and Arial replaced by the metric-compatible Liberation Serif and Sans,
#   and Debian's wine fonts (Tahoma for message boxes, Marlett for caption buttons) in place.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
export WINEPREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/ostrova-wine.XXXXXX")

wine_prefix_cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
}

# Never through a pipe: the wine server inherits it and a read would not end.
wine_log=$WINEPREFIX/ostrova-setup.log
wineboot -i >"$wine_log" 2>&1
cat >"$WINEPREFIX/ostrova.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Times New Roman"="Liberation Serif"
"Arial"="Liberation Sans"
REG
wine regedit /S "$WINEPREFIX/ostrova.reg" >>"$wine_log" 2>&1
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp /usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true
wineserver -w
# The persistent server forks itself away from this shell: no later program starts one that
# would inherit its caller's output.
wineserver -p >>"$wine_log" 2>&1
wine reg query 'HKCU\Software\Wine\X11 Driver' >>"$wine_log" 2>&1
