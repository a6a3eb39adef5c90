#!/usr/bin/env bash
# Cross-builds the Windows programs and packs them: ostrova-settings-0.8.0-win64.zip (both
# programs and a short README) and the per-user installer ostrova-settings-0.8.0-win64-setup.exe.
# The file times in the zip and the installer are the last commit's (SOURCE_DATE_EPOCH, unless
# set already).
# Usage: scripts/package-windows.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows}
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)
fi
export SOURCE_DATE_EPOCH
umask 022
TARGET="ostrova-settings ostrova-cfg" "$root/scripts/build-windows.sh" "$build"
cd "$build"
# A zip holds local times: those of UTC, whatever the builder's time zone.
TZ=UTC cpack -G "ZIP;NSIS" >cpack.log 2>&1 || { cat cpack.log; exit 1; }
ls -l "$build"/ostrova-settings-*-win64.zip "$build"/ostrova-settings-*-win64-setup.exe
