#!/usr/bin/env bash
# Installs what is missing, builds and starts the settings editor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
TARGET=ostrova-settings "$root/scripts/build.sh" "$root/build"
program="$root/build/src/app/ostrova-settings"
if [[ ! -x $program ]]; then
  echo "The window program is not there yet: the settings core is built and tested (scripts/test.sh)."
  exit 0
fi
# Start in the program's own folder, as a double-click in a file manager does, so that
# "Save" and the start-up load meet in one folder.
cd "$(dirname "$program")"
exec "$program"
