#!/usr/bin/env bash
# Builds the browser edition into build-web/site/: one static folder (page, program, fonts,
# icons, manifest, service worker) that any static file server can serve.
# Usage: scripts/build-web.sh [BUILD_DIR] [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-web}
shift || true
"$root/scripts/deps.sh" --web
# Debian's emscripten finds its node modules there when node is not Debian's own.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
emcmake cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DOSTROVA_WERROR=ON "$@" >/dev/null
cmake --build "$build" --parallel 2
echo "The page: $build/site/ (scripts/serve-web.sh serves it)"
