#!/usr/bin/env bash
# Builds with AddressSanitizer + UndefinedBehaviorSanitizer and runs the core and headless tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
build=${OSTROVA_ASAN_BUILD_DIR:-$root/build-asan}
BUILD_TYPE=Debug "$root/scripts/build.sh" "$build" -DOSTROVA_WERROR=ON -DOSTROVA_SANITIZE=ON -DOSTROVA_BUILD_QT=OFF
cd "$build"
# The headless suites must be part of this run, not silently left out of the build.
for suite in framework_tests main_window_tests dialogs_tests; do
  if ! ctest -N -L "^${suite}\$" | grep -q 'Total Tests: [1-9]'; then
    echo "sanitizer run: no tests of $suite" >&2
    exit 1
  fi
done
# LeakSanitizer runs at each test program's exit and fails it on any leak.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --output-on-failure --timeout 120 --parallel "$(nproc)"
