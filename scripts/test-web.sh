#!/usr/bin/env bash
# Builds the browser edition and runs its tests in headless Chromium on 127.0.0.1: the story
# the desktop programs are told must save the Linux program's bytes; edits, loads, keys,
# screen-reader names and the offline start are checked too.
# The Linux program's save is made first, in the Linux build (the README test command's).
# Usage: scripts/test-web.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-web}
"$root/scripts/deps.sh"
TARGET=story_test "$root/scripts/build.sh" "$root/build" -DOSTROVA_WERROR=ON
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -R '^Story\.')
"$root/scripts/build-web.sh" "$build"
# Debian's selenium lives with Debian's python3.
cd "$root/tests/web"
timeout 600 /usr/bin/python3 page_test.py "$build/site" "$root/build/tests/qt/story/wireless.cfg"
