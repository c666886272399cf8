#!/usr/bin/env bash
# Times `zor-tool scores --csv` over generated data folders of 1,000, 5,000 and
# 10,000 administrations (release build). Goal: under 1 s for 10,000, growing
# linearly with the number of files. Usage: bash bench/scores_bench.sh [work folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$(mktemp -d /tmp/zor-scores-bench.XXXXXX)}

source "$root/bench/build_bench.sh"
build_bench_targets zor-tool scores_make_data

for count in 1000 5000 10000; do
  folder="$work/$count"
  if [ ! -d "$folder/Data" ]; then
    "$build/bin/scores_make_data" "$folder" "$count"
  fi
  "$build/bin/zor-tool" scores --csv "$folder" >/dev/null  # warm the file cache
  # Best of five by wall-clock time, with the processor time of that run
  # (user + system), which a busy machine disturbs less.
  best="" best_cpu=""
  for run in 1 2 3 4 5; do
    timing=$( { TIMEFORMAT='%R %U %S'; time "$build/bin/zor-tool" scores --csv "$folder" \
                >"$work/out-$count.csv"; } 2>&1 )
    read -r real user sys <<<"$timing"
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.3f", u + s }')
    if [ -z "$best" ] || awk -v a="$real" -v b="$best" 'BEGIN { exit !(a < b) }'; then
      best=$real best_cpu=$cpu
    fi
  done
  rows=$(($(wc -l <"$work/out-$count.csv") - 1))
  awk -v n="$count" -v rows="$rows" -v real="$best" -v cpu="$best_cpu" 'BEGIN {
    printf "%6d administrations: %d rows, best of 5: %.3f s wall, %.3f s cpu (%.0f us wall per administration)\n",
           n, rows, real, cpu, real * 1e6 / n }'
done
echo "data folders kept in $work"
