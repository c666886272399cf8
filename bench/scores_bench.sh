#!/usr/bin/env bash
# Times `zor-tool scores --csv` over generated data folders of 1,000, 5,000 and
# 10,000 administrations (release build). Goal: under 1 s for 10,000, growing
# linearly with the number of files. Usage: bash bench/scores_bench.sh [work folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$(mktemp -d /tmp/zor-scores-bench.XXXXXX)}
build="$root/build-bench"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZOR_BUILD_BENCH=ON \
  -DZOR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j 2 --target zor-tool scores_make_data >/dev/null

for count in 1000 5000 10000; do
  folder="$work/$count"
  if [ ! -d "$folder/Data" ]; then
    "$build/bin/scores_make_data" "$folder" "$count"
  fi
  "$build/bin/zor-tool" scores --csv "$folder" >/dev/null  # warm the file cache
  best=0
  for run in 1 2 3 4 5; do
    start=${EPOCHREALTIME/./}
    "$build/bin/zor-tool" scores --csv "$folder" >"$work/out-$count.csv"
    elapsed=$(( ${EPOCHREALTIME/./} - start ))  # microseconds
    if [ "$best" = 0 ] || [ "$elapsed" -lt "$best" ]; then best=$elapsed; fi
  done
  rows=$(($(wc -l <"$work/out-$count.csv") - 1))
  printf '%6d administrations: %d rows, best of 5: %d.%03d s (%d us per administration)\n' \
    "$count" "$rows" $((best / 1000000)) $((best / 1000 % 1000)) $((best / count))
done
echo "data folders kept in $work"
