#!/usr/bin/env bash
# Start-up benchmark: time from process start to the idle main menu on the
# offscreen platform, split into the waits start-up prescribes (the splash
# screen's second, the loading screen's 100 ticks) and everything else, and
# the peak memory with every screen created.
# Usage: bench/startup_bench.sh [runs]   (build folder: $ZOR_BENCH_BUILD or build-bench)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${ZOR_BENCH_BUILD:-$root/build-bench}"
runs="${1:-7}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZOR_BUILD_TESTS=OFF \
  -DZOR_BUILD_BENCH=ON > /dev/null
cmake --build "$build" -j 2 --target startup_probe > /dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/data/Incomplete afnames"
printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lomba\\ZOR\\SETTINGS]\r\ndatapath=%s/data/\r\n' "$work" \
  > "$work/settings.ini"
export ZOR_SETTINGS_FILE="$work/settings.ini"
export QT_QPA_PLATFORM=offscreen

for _ in $(seq "$runs"); do
  ZOR_BENCH_T0_NS=$(date +%s%N) "$build/bin/startup_probe" 2> /dev/null
done | tee "$work/runs.txt"

# min / median / max of every figure over the runs
awk '
  { for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]][NR] = kv[2] } }
  END {
    for (k in v) {
      n = asort(v[k], s, "@val_num_asc")
      printf "%-20s min %8.1f  median %8.1f  max %8.1f\n", k, s[1], s[int((n + 1) / 2)], s[n]
    }
  }' "$work/runs.txt" | sort
awk '
  { for (i = 1; i <= NF; i++) { split($i, kv, "="); if (kv[1] == "everything_else_ms") e[NR] = kv[2];
                                  if (kv[1] == "peak_rss_mb") r[NR] = kv[2] } }
  END {
    n = asort(e); asort(r)
    printf "goal everything else < 150 ms: %s (median %.1f)\n", (e[int((n + 1) / 2)] < 150 ? "met" : "NOT met"), e[int((n + 1) / 2)]
    printf "goal peak RSS < 120 MB: %s (max %.1f)\n", (r[n] < 120 ? "met" : "NOT met"), r[n]
  }' "$work/runs.txt"
