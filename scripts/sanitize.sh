#!/usr/bin/env bash
# Builds with AddressSanitizer + UndefinedBehaviorSanitizer and runs the core and headless tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
BUILD_TYPE=Debug "$root/scripts/build.sh" "$root/build-asan" -DOSTROVA_WERROR=ON -DOSTROVA_SANITIZE=ON -DOSTROVA_BUILD_QT=OFF
cd "$root/build-asan"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --output-on-failure --timeout 120 --parallel "$(nproc)"
