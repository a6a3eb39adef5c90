#!/usr/bin/env bash
# Cross-builds the Windows programs (ostrova-settings.exe, ostrova-cfg.exe) with mingw-w64 and,
# unless BUILD_TESTING=OFF, the test programs that run under wine. Qt stays out of this build.
# Usage: [TARGET=name] scripts/build-windows.sh [BUILD_DIR] [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows}
shift || true
"$root/scripts/deps.sh" --windows
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
testing=${BUILD_TESTING:-ON}

# GoogleTest from Debian's sources, built once with the cross compiler into the build folder.
prefix="$build/prefix"
if [[ $testing == ON && ! -f $prefix/lib/cmake/GTest/GTestConfig.cmake ]]; then
  cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$build/googletest" --parallel "${JOBS:-$(nproc)}" >/dev/null
  cmake --install "$build/googletest" >/dev/null
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DOSTROVA_WINDOWS_PREFIX="$prefix" \
    -DOSTROVA_BUILD_QT=OFF -DBUILD_TESTING="$testing" "$@" >/dev/null
cmake --build "$build" --parallel "${JOBS:-$(nproc)}" ${TARGET:+--target $TARGET}
