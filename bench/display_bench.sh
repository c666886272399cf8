#!/usr/bin/env bash
# Times repaints of the page preview display (798 × 460) for a report-like page at
# "Hele pagina" (whole page) and at 200 %, release build. Goal: under 15 ms per
# repaint. Usage: bash bench/display_bench.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZOR_BUILD_BENCH=ON \
  -DZOR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j 2 --target display_bench >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bin/display_bench"
