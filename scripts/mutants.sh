#!/usr/bin/env bash
# Which planted faults do the tests catch? Plants small faults one at a time in the settings
# core, the main window, the Email and FTP dialogs and the framework, on a private clone of
# the project (the sources here are never touched), rebuilds, runs every test and reports.
# Takes minutes; not part of CI. Usage: scripts/mutants.sh [WORK_DIR] [extra mutants.py options]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool="$root/../shared/tools/mutants.py"
if [[ ! -x "$tool" && ! -f "$tool" ]]; then
  echo "mutants.sh: the mutation tool is not here ($tool); it comes with the team's shared tools." >&2
  exit 2
fi
work=${1:-/tmp/ostrova-mutants}
shift || true
"$root/scripts/deps.sh"
rm -rf "$work"
mkdir -p "$work"
git clone -q "$root" "$work/src"
cmake -S "$work/src" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
echo "Using $tool; report in $work/report.json"
python3 "$tool" -C "$work/src" -B "$work/build" --max 80 --seed 1 --json "$work/report.json" "$@" \
  src/config/codec.cpp src/config/record.cpp src/config/save.cpp src/config/file_commands.cpp \
  src/ui/main/rules.cpp src/ui/main/settings_dlg.cpp src/ui/main/commands.cpp \
  src/ui/dialogs/email_setting_dlg.cpp src/ui/dialogs/ftp_setting_dlg.cpp src/platform/framework.cpp
