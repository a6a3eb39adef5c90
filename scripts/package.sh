#!/usr/bin/env bash
# Installs what is missing, builds a release and packs it as a Debian package in build-package/.
# The package's file times are the last commit's (SOURCE_DATE_EPOCH, unless set already), so
# the same commit gives the same bytes. Usage: scripts/package.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-package}
umask 022  # CPack packs the modes of its staging folders and of the package's own members
"$root/scripts/deps.sh" dpkg-dev file
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)
fi
export SOURCE_DATE_EPOCH
# Debian's hardening flags, all of them (bindnow too), as a Debian package is built with.
flags() { (cd "$root" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"); }
BUILD_TYPE=Release "$root/scripts/build.sh" "$build" -DCMAKE_INSTALL_PREFIX=/usr \
  -DBUILD_TESTING=OFF -DOSTROVA_WERROR=OFF \
  -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)"
cd "$build"
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
ls "$build"/ostrova-settings_*.deb
