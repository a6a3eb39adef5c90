#!/usr/bin/env bash
# Builds the benchmarks as the package is built (Release) and runs them with repetitions,
# printing the medians, the codec's ratio to a plain byte sum and each target's verdict; then
# times the window's start-up beside a bare Qt dialog, offscreen and under Xvfb.
# Usage: scripts/bench.sh [repetitions] [start-up runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
repetitions=${1:-10}
startup_runs=${2:-15}
"$root/scripts/deps.sh" time xvfb
build="$root/build-bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O3 -DNDEBUG" \
    -DOSTROVA_WERROR=OFF -DOSTROVA_BUILD_QT=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target codec_bench window_bench startup_window startup_bare

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for program in codec_bench window_bench; do
  "$build/bench/$program" --benchmark_repetitions="$repetitions" \
      --benchmark_report_aggregates_only=true --benchmark_out_format=json \
      --benchmark_out="$out/$program.json" >/dev/null
done

python3 - "$out"/*.json <<'EOF'
import json, sys

median = {}
for path in sys.argv[1:]:
    for b in json.load(open(path))["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        name = b["run_name"]
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[b["time_unit"]]
        median[name] = {"us": b["real_time"] * scale, "keystroke": b.get("keystroke")}

print(f"{'benchmark (median)':28} {'time':>12}")
for name, m in median.items():
    print(f"{name:28} {m['us']:10.3f} us")

verdicts = []
ratio = median["BM_EncodeCfgForm"]["us"] / median["BM_ByteSum"]["us"]
verdicts.append(("codec / byte sum", f"{ratio:.2f}x", ratio <= 2.0, "<= 2x"))
for name in ("BM_KeystrokeRecipient", "BM_KeystrokeNumeric"):
    us = median[name]["keystroke"] * 1e6
    verdicts.append((f"{name} per key", f"{us:.2f} us", us <= 20.0, "<= 20 us"))
us = median["BM_ClockTick"]["us"]
verdicts.append(("clock tick push", f"{us:.2f} us", us <= 50.0, "<= 50 us"))
print()
for what, value, ok, target in verdicts:
    print(f"{what:34} {value:>10}  target {target:9} {'met' if ok else 'MISSED'}")
EOF

echo
QT_QPA_PLATFORM=offscreen python3 "$root/bench/startup_compare.py" "$build" "$startup_runs"
echo
display=:97
while [[ -e /tmp/.X11-unix/X${display#:} ]]; do display=":$((${display#:} + 1))"; done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$out"' EXIT
for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X${display#:} ]] && break; sleep 0.1; done
DISPLAY=$display QT_QPA_PLATFORM=xcb python3 "$root/bench/startup_compare.py" "$build" "$startup_runs"
