#!/usr/bin/env bash
# Stopwatch benchmark: runs the swap test screen's stopwatch on the real
# clock, first with the silent players, then with the sound server's players on a private
# PulseAudio null sink whose monitor shows when each prompt really ends.
# Prints per mode the distribution of the stopwatch's start lag after the
# prompt's end (goal 100..200 ms)
# and of the stored minus the true answer time (goal within one tenth).
# Usage: bench/stopwatch_bench.sh [runs]   (default 1000 per mode; build
# folder: $ZOR_BENCH_BUILD or build-bench; per-run lines are kept in
# $ZOR_BENCH_RAW_DIR when that is set)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs="${1:-1000}"

source "$root/bench/build_bench.sh"
build_bench_targets stopwatch_bench

source "$root/tools/null_sink.sh"
work=$(mktemp -d)
trap 'stop_null_sink; rm -rf "$work"' EXIT
raw="${ZOR_BENCH_RAW_DIR:-$work}"
mkdir -p "$raw"
# Both modes run beside the sound server, as the program does on a desktop.
start_null_sink "$work"

export QT_QPA_PLATFORM=offscreen
echo "load before: $(uptime)"
"$build/bin/stopwatch_bench" --runs "$runs" --raw "$raw/silent.txt"
echo "load: $(uptime)"
"$build/bin/stopwatch_bench" --runs "$runs" --real "$null_sink_monitor_source" --raw "$raw/real.txt"
echo "load after: $(uptime)"
