#!/usr/bin/env bash
# Installs what is missing, builds every target with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the whole test suite with CTest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"

build="$root/build-test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZOR_SANITIZE=ON -DZOR_BUILD_TESTS=ON
cmake --build "$build" -j "$(nproc)"

# Qt screens render without a display; sanitizers stop at the first error.
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Known leaks inside system libraries (fontconfig ...) do not fail the programs the tests run.
export LSAN_OPTIONS=suppressions=$root/scripts/lsan-suppressions.txt
cd "$build"
ctest --output-on-failure -j "$(nproc)"
