#!/usr/bin/env python3
"""Times the settings window's start-up beside a bare Qt dialog of the same widgets.

Usage: bench/startup_compare.py BUILD_DIR RUNS   (under the QT_QPA_PLATFORM and DISPLAY given)
Each program runs RUNS times, alternating, under /usr/bin/time -v; printed are the medians of
the wall time to exit, the program's own time to its first paint, and the peak memory.
"""
import os
import re
import statistics
import subprocess
import sys
import time

build, runs = sys.argv[1], int(sys.argv[2])
programs = {"window": f"{build}/bench/startup_window", "bare": f"{build}/bench/startup_bare"}
samples = {name: {"wall": [], "paint": [], "rss": []} for name in programs}

for _ in range(runs):
    for name, path in programs.items():
        start = time.perf_counter()
        run = subprocess.run(["/usr/bin/time", "-v", path], capture_output=True, text=True,
                             timeout=60, stdin=subprocess.DEVNULL)
        wall = time.perf_counter() - start
        paint = re.search(r"first paint after ([0-9.]+) ms", run.stdout)
        rss = re.search(r"Maximum resident set size \(kbytes\): (\d+)", run.stderr)
        if run.returncode != 0 or not paint or not rss:
            sys.exit(f"{name} failed ({run.returncode}):\n{run.stdout}{run.stderr}")
        samples[name]["wall"].append(wall * 1000)
        samples[name]["paint"].append(float(paint.group(1)))
        samples[name]["rss"].append(int(rss.group(1)) / 1024)

platform = os.environ.get("QT_QPA_PLATFORM", "?")
med = {n: {k: statistics.median(v) for k, v in s.items()} for n, s in samples.items()}
print(f"start-up on {platform}, median of {runs} runs")
print(f"  {'':8} {'to exit':>10} {'first paint':>12} {'peak RSS':>10}")
for name in programs:
    m = med[name]
    print(f"  {name:8} {m['wall']:8.1f} ms {m['paint']:9.1f} ms {m['rss']:7.1f} MiB")
failed = False
for key, label in (("wall", "start-up to exit"), ("paint", "start-up to first paint"),
                   ("rss", "peak memory")):
    ratio = med["window"][key] / med["bare"][key]
    ok = ratio <= 1.1
    failed |= not ok
    print(f"  {label:24} {ratio:5.2f}x the bare dialog  target <= 1.1x {'met' if ok else 'MISSED'}")
