#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; skips what is installed.
# Usage: scripts/deps.sh [--windows | --web] [extra-package...]
#   --windows: what the cross-built Windows programs and their tests under wine need instead.
#   --web: what the browser edition, its web fonts and its tests in Chromium need instead.
set -euo pipefail

if [[ ${1:-} == --windows ]]; then
  shift
  packages=(
    cmake ninja-build python3
    g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
    googletest libcli11-dev nlohmann-json3-dev
    wine wine64 fonts-wine fonts-liberation xvfb xauth x11-utils imagemagick
    nsis zip
    "$@"
  )
elif [[ ${1:-} == --web ]]; then
  shift
  packages=(
    cmake ninja-build python3 emscripten
    fonts-liberation python3-fonttools python3-brotli
    chromium chromium-driver python3-selenium
    "$@"
  )
else
  packages=(
    g++ cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev fonts-liberation
    desktop-file-utils appstream scdoc man-db
    libcli11-dev nlohmann-json3-dev python3
    "$@"
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
