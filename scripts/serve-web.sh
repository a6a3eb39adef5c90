#!/usr/bin/env bash
# Serves the browser edition on this computer only: http://127.0.0.1:PORT/
# Usage: scripts/serve-web.sh [PORT] [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
port=${1:-8000}
site=${2:-$root/build-web}/site
[[ -f $site/index.html ]] || { echo "No page in $site: run scripts/build-web.sh first" >&2; exit 1; }
echo "Open http://127.0.0.1:$port/ (Ctrl+C stops)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
