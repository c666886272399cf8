#!/usr/bin/env bash
# Recovery-journal benchmark: the time the journal keeper takes after a mark
# (state as of the mark, file replaced and flushed), median and p99; exits
# non-zero when p99 reaches 5 ms.
# Usage: bench/journal_bench.sh [runs] [DATA_FOLDER]   (default 2000 runs in a
# fresh folder inside the benchmark build, on the same disk as the sources;
# build folder: $ZOR_BENCH_BUILD or build-bench)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs="${1:-2000}"

source "$root/bench/build_bench.sh"
build_bench_targets journal_bench

folder="${2:-}"
if [ -z "$folder" ]; then
  folder=$(mktemp -d "$build/journal-bench.XXXXXX")
  trap 'rm -rf "$folder"' EXIT
fi
echo "load before: $(uptime)"
"$build/bin/journal_bench" "$folder" "$runs"
