#!/usr/bin/env bash
# Times repaints of the page preview display (798 × 460) for a report-like page at
# "Hele pagina" (whole page) and at 200 %, release build. Goal: under 15 ms per
# repaint. Usage: bash bench/display_bench.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/bench/build_bench.sh"
build_bench_targets display_bench
QT_QPA_PLATFORM=offscreen "$build/bin/display_bench"
