#!/usr/bin/env bash
# The browser edition's figures: transfer size and time to an interactive form beside a static
# page of the same controls, and the size Asyncify costs (a second build without it).
# Usage: scripts/bench-web.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build-web.sh" "$root/build-web" >/dev/null
"$root/scripts/build-web.sh" "$root/build-web-plain" -DOSTROVA_WEB_ASYNCIFY=OFF >/dev/null
/usr/bin/python3 "$root/bench/web_bench.py" "$root/build-web/site" "$root/build-web-plain/site" "${1:-7}"
