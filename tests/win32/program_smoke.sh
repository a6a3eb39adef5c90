#!/usr/bin/env bash
# The real program under wine, driven from outside through the story both programs are told:
# it starts, takes the clicks, typing and picks, saves wireless.cfg beside itself and ends when
# its window closes. Given the Linux program's save of the same story, with the clock fixed at
# CLOCK, the file saved must be that one byte for byte. Runs in the wine prefix and display it
# is given (scripts/test-windows.sh prepares both).
# Usage: program_smoke.sh PROGRAM.exe DRIVER.exe [CLOCK LINUX_FILE]
set -euo pipefail
program=$1 driver=$2 linux=${4:-}
if [[ -n $linux ]]; then
  export OSTROVA_CLOCK=$3
  [[ -f $linux ]] || { echo "no save of the Linux program at $linux" >&2; exit 1; }
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrova-smoke.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/ostrova-settings.exe"
cd "$work"
# Output goes to files: a pipe would be inherited by the wine server and never end.
wine ./ostrova-settings.exe >program.log 2>&1 &
program_pid=$!
if ! wine "$driver" >driver.log 2>&1; then
  cat driver.log >&2
  kill "$program_pid" 2>/dev/null || true
  exit 1
fi
for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$program_pid" 2>/dev/null; then
  echo "the program did not end after its window closed" >&2
  exit 1
fi
cat driver.log
if [[ $(stat -c %s wireless.cfg 2>/dev/null) != 2048 ]]; then
  echo "no wireless.cfg of 2048 bytes beside the program; the folder holds:" >&2
  ls -la >&2
  exit 1
fi
if [[ -n $linux ]]; then
  cmp wireless.cfg "$linux" && echo "wireless.cfg: the same bytes as $linux"
fi
