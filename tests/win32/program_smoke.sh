#!/usr/bin/env bash
# The real program under wine, driven from outside: pick Instant, type a number, Save, close;
# then check the bytes of the file written. Runs in the wine prefix and display it is given
# (scripts/test-windows.sh prepares both).
# Usage: program_smoke.sh PROGRAM.exe DRIVER.exe CHECKER.py KEY [--edits | --story CLOCK FILE]
#   --edits: the edits that once saved something else; Phone1 ends as 4670, Max Num as 5.
#   --story: the story both programs are told, the clock fixed at CLOCK; the file saved must
#            equal FILE, the Linux program's save of the same story, byte for byte.
set -euo pipefail
program=$1 driver=$2 checker=$3 key=$4 edits=${5:-}
if [[ $edits == --story ]]; then
  export OSTROVA_CLOCK=$6
  linux=$7
  [[ -f $linux ]] || { echo "no save of the Linux program at $linux" >&2; exit 1; }
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/ostrova-smoke.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/ostrova-settings.exe"
cd "$work"
# Output goes to files: a pipe would be inherited by the wine server and never end.
wine ./ostrova-settings.exe >program.log 2>&1 &
program_pid=$!
if ! wine "$driver" "${edits:-37}" >driver.log 2>&1; then
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
if [[ ! -f wireless.cfg ]]; then
  echo "no wireless.cfg beside the program; the folder holds:" >&2
  ls -la >&2
  exit 1
fi
if [[ $edits == --story ]]; then
  cmp wireless.cfg "$linux" && echo "wireless.cfg: the same bytes as $linux"
elif [[ -n $edits ]]; then
  python3 "$checker" wireless.cfg "$key" 5 4670
else
  python3 "$checker" wireless.cfg "$key" 37
fi
