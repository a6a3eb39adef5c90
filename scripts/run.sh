#!/usr/bin/env bash
# Installs what is missing, builds and starts the settings editor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
TARGET=ostrova-settings "$root/scripts/build.sh" "$root/build"
program="$root/build/src/app/ostrova-settings"
# Start in the program's own folder, as a double-click in a file manager does, so that
# "Save" and the start-up load meet in one folder.
cd "$(dirname "$program")"
exec "$program"
