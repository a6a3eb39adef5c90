#!/usr/bin/env bash
# ostrova-cfg.exe under wine on files in a Cyrillic and a Chinese folder, and in a folder whose
# name holds a dot: every name reaches the tool whole, whatever the system's code page, and a
# file's form follows its own name. Runs in the wine prefix it is given (scripts/test-windows.sh
# prepares it).
# Usage: cli_paths.sh OSTROVA-CFG.exe
set -euo pipefail
tool=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrova-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
cyrillic="$work/Карта памяти" chinese="$work/相机设置" dotted="$work/anna.b"
mkdir -p "$cyrillic" "$chinese" "$dotted"

# The Windows name of a Unix path: wine's drive Z: is the root.
win() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
fail() {
  echo "cli_paths: $*" >&2
  for log in "$work"/*.log; do echo "--- ${log##*/}" >&2; cat "$log" >&2; done
  exit 1
}
# Output goes to files: a pipe would be inherited by the wine server and never end.
run() { local log=$1; shift; wine "$tool" "$@" >"$work/$log.log" 2>&1; }
size() { stat -c %s "$1" 2>/dev/null || echo none; }

run new new "$(win "$cyrillic/wireless.cfg")" 'phone[1]=+4611' --time 2026-12-07T10:00:00 ||
  fail "new in a Cyrillic folder"
[[ $(size "$cyrillic/wireless.cfg") == 2048 ]] || fail "no wireless.cfg in the Cyrillic folder"
run convert convert "$(win "$cyrillic/wireless.cfg")" "$(win "$chinese/MMSCFG.BIN")" ||
  fail "convert into a Chinese folder"
[[ $(size "$chinese/MMSCFG.BIN") == 868 ]] || fail "no MMSCFG.BIN in the Chinese folder"
run set set "$(win "$chinese/MMSCFG.BIN")" 'phone[2]=+4622' || fail "set in a Chinese folder"
run show show --json "$(win "$chinese/MMSCFG.BIN")" || fail "show in a Chinese folder"
grep -qF '"phone[1]": "+4611"' "$work/show.log" && grep -qF '"phone[2]": "+4622"' "$work/show.log" ||
  fail "the Chinese folder's file does not hold what was set"

# "settings" has no extension: the dot in its folder's name does not make it a MMSCFG.BIN.
run dotted new "$(win "$dotted/settings")" || fail "new in a folder with a dot"
[[ $(size "$dotted/settings") == 2048 ]] || fail "the dotted folder's file is not a wireless.cfg"

# Each name comes back in UTF-8, and a missing file is reported as missing.
run check check -v "$(win "$cyrillic/wireless.cfg")" "$(win "$dotted/settings")" \
  "$(win "$chinese/missing.cfg")" && fail "check passed a missing file"
for line in "$(win "$cyrillic/wireless.cfg"): valid (wireless.cfg form" \
            "$(win "$dotted/settings"): valid (wireless.cfg form" \
            "$(win "$chinese/missing.cfg"): not valid: File Open Error! (No such file or directory)"; do
  grep -qF "$line" "$work/check.log" || fail "check -v did not say: $line"
done
echo "cli_paths: Cyrillic, Chinese and dotted folders read and written"
