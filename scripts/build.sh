#!/usr/bin/env bash
# Configures and builds into a build folder.
# Usage: [TARGET=name] scripts/build.sh BUILD_DIR [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$1
shift
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" ${TARGET:+--target "$TARGET"}
