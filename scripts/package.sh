#!/usr/bin/env bash
# Installs what is missing, builds a release and packs it as a Debian package in build-package/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" dpkg-dev file
BUILD_TYPE=Release "$root/scripts/build.sh" "$root/build-package" -DCMAKE_INSTALL_PREFIX=/usr \
  -DBUILD_TESTING=OFF -DOSTROVA_WERROR=OFF
cd "$root/build-package"
cpack -G DEB >/dev/null
ls "$root"/build-package/ostrova-settings_*.deb
