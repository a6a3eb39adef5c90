#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build" -DOSTROVA_WERROR=ON
cd "$root/build"
# No display variable reaches the tests: each Qt test picks the offscreen platform itself.
env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY ctest --output-on-failure --timeout 120 --parallel "$(nproc)"
# The random sessions say how long they ran and from which seed.
grep -h -E "^(edit model|[0-9]+ keys, seed)" Testing/Temporary/LastTest.log || true
