#!/usr/bin/env bash
# Times the Windows window's start-up to its first paint beside a bare Win32 dialog of the same
# controls, both under wine on a private Xvfb display, alternating, and prints the medians and
# their ratio. Usage: scripts/bench-windows.sh [runs] [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
build=${2:-$root/build-windows}
BUILD_TESTING=OFF TARGET=startup_win32 "$root/scripts/build-windows.sh" "$build" >/dev/null
source "$root/scripts/private-display.sh"
source "$root/scripts/wine-prefix.sh"
out=$(mktemp -d)
trap 'wine_prefix_cleanup; kill "$xvfb" 2>/dev/null || true' EXIT
exe="$build/bench/startup_win32.exe"
wine "$exe" bare >/dev/null 2>&1  # the first start loads wine's own libraries
for i in $(seq "$runs"); do
  for kind in window bare; do
    # Output to files: a pipe would be inherited by the wine server.
    wine "$exe" "$kind" >"$out/$kind-$i.txt" 2>&1
  done
done
python3 - "$out" "$runs" <<'PY'
import re, statistics, sys
out, runs = sys.argv[1], int(sys.argv[2])
med = {}
for kind in ("window", "bare"):
    total, inside = [], []
    for i in range(1, runs + 1):
        m = re.search(r"first paint after ([0-9.]+) ms \(([0-9.]+) ms in WinMain\)",
                      open(f"{out}/{kind}-{i}.txt").read())
        if not m:
            sys.exit(f"{kind} run {i} printed no time")
        total.append(float(m.group(1)))
        inside.append(float(m.group(2)))
    med[kind] = (statistics.median(total), statistics.median(inside))
print(f"start-up to first paint under wine, median of {runs} runs")
print(f"  {'':8} {'from process start':>20} {'from WinMain':>14}")
for kind, (total, inside) in med.items():
    print(f"  {kind:8} {total:17.1f} ms {inside:11.1f} ms")
print(f"  ratio     {med['window'][0] / med['bare'][0]:17.2f}x {med['window'][1] / med['bare'][1]:12.2f}x")
PY
