#!/usr/bin/env bash
# Renders the application icon from its SVG into the hicolor PNG sizes kept in the repository.
# Needs rsvg-convert (Debian package librsvg2-bin). Run it after changing the SVG.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
icons="$root/src/res/icons"
svg="$icons/ostrova-settings.svg"

command -v rsvg-convert >/dev/null ||
    { echo "rsvg-convert not found: apt-get install librsvg2-bin" >&2; exit 1; }

for size in 16 22 24 32 48 64 128 256; do
    dir="$icons/hicolor/${size}x${size}/apps"
    mkdir -p "$dir"
    rsvg-convert --width "$size" --height "$size" --format png --output "$dir/ostrova-settings.png" "$svg"
done
echo "rendered $svg"
