#!/usr/bin/env bash
# Which planted faults do the tests catch? Plants 80 small faults (seed 1), one at a time, in
# the settings core, the main window, the Email and FTP dialogs and the framework (its edit rules
# and dialog manager included), on a private
# clone of the project (the sources here are never touched), rebuilds and runs the tests.
# Two passes, for speed: each fault against the headless and command-line tests (seconds a
# fault), then the faults those missed against every test (the Qt programs included).
# Takes a quarter of an hour or more; not part of CI.
# Usage: scripts/mutants.sh [WORK_DIR] [extra mutants.py options]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool="$root/../shared/tools/mutants.py"
if [[ ! -f "$tool" ]]; then
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
echo "Using $tool; reports in $work/headless.json and $work/report.json"
python3 "$tool" -C "$work/src" -B "$work/build" --max 80 --seed 1 --json "$work/headless.json" \
  --targets config_tests tables_tests res_tests framework_tests main_window_tests dialogs_tests \
            ostrova-cfg \
  --test-cmd "ctest --output-on-failure -j2 --timeout 60 -E '^cli\.man_page\$' \
              -L '^(config|tables|res|framework|main_window|dialogs|cli)_tests\$'" "$@" \
  src/config/codec.cpp src/config/record.cpp src/config/save.cpp src/config/file_commands.cpp \
  src/ui/main/rules.cpp src/ui/main/settings_dlg.cpp src/ui/main/commands.cpp \
  src/ui/dialogs/email_setting_dlg.cpp src/ui/dialogs/ftp_setting_dlg.cpp src/platform/framework.cpp \
  src/platform/edit_rules.cpp src/platform/dialog_manager.cpp
# The man page test needs the manual pages, which only the full build makes.
python3 "$tool" -C "$work/src" -B "$work/build" --rerun "$work/headless.json" --json "$work/report.json"
python3 - "$work/headless.json" "$work/report.json" <<'PY'
import json, sys
first, second = (json.load(open(p)) for p in sys.argv[1:])
status = {(m["file"], m["line"], m["col"], m["new"]): m["status"] for m in first["mutants"]}
status.update({(m["file"], m["line"], m["col"], m["new"]): m["status"] for m in second["mutants"]})
caught = sum(s in ("killed", "timeout") for s in status.values())
missed = [k for k, s in status.items() if s == "survived"]
print(f"Both passes: {caught}/{caught + len(missed)} = {100 * caught / (caught + len(missed)):.1f}%")
for f, line, _, new in sorted(missed):
    print(f"  survived {f}:{line}: {new}")
PY
