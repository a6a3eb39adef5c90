#!/usr/bin/env bash
# Cross-builds the Windows programs and their tests, then runs the tests under wine: the
# settings-core, tables, framework and headless window suites, the Win32 backend's own tests
# and the real program driven from outside, in a fresh wine prefix on a private Xvfb display.
# Then packs the zip and the installer and installs and removes the installer in the prefix.
# The Windows program is told the story the Linux program is told and must save the same bytes:
# the Linux program's save is made first, in the Linux build (the README test command's).
# Usage: scripts/test-windows.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows}
"$root/scripts/deps.sh"
TARGET=story_test "$root/scripts/build.sh" "$root/build" -DOSTROVA_WERROR=ON
linux_story=$root/build/tests/qt/story/wireless.cfg
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -R '^Story\.')
"$root/scripts/build-windows.sh" "$build" -DOSTROVA_WERROR=ON -DOSTROVA_LINUX_STORY_FILE="$linux_story"

source "$root/scripts/private-display.sh"
source "$root/scripts/wine-prefix.sh"
trap 'wine_prefix_cleanup; kill "$xvfb" 2>/dev/null || true' EXIT

cd "$build"
# One wine server for the run: the tests take turns.
ctest --output-on-failure --timeout 120
cpack -G "ZIP;NSIS" >cpack.log 2>&1 || { cat cpack.log; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' CMakeCache.txt)
timeout 120 "$root/tests/win32/installer_check.sh" \
  "$build/ostrova-settings-$version-win64-setup.exe" "$version"
