#!/usr/bin/env bash
# Times `zor-tool report --all` (report file and PDF of every complete administration) and
# `zor-tool pdf --missing` (every PDF again from the report files) over a generated data folder of
# complete administrations, at -j 1 and -j 2 (release build). Prints, per run, the wall time and
# the CPU time (user + system) with the load average beside it, then the medians and the speed-up
# of -j 2 over -j 1, and checks that both thread counts wrote byte-identical folders.
# Goal: 2,000 reports with PDFs in under 20 s on 2 cores, near-linear speed-up.
# Usage: bash bench/report_all_bench.sh [administrations (2000)] [runs (3)] [work folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-2000}
runs=${2:-3}
work=${3:-$(mktemp -d /tmp/zor-report-all-bench.XXXXXX)}

source "$root/bench/build_bench.sh"
build_bench_targets zor-tool scores_make_data
tool="$build/bin/zor-tool"

data="$work/data-$count"
if [ ! -d "$data/Data" ]; then "$build/bin/scores_make_data" "$data" "$count" 2011 complete; fi

load() { cut -d' ' -f1 /proc/loadavg; }
# Runs the command line and prints "<wall s> <cpu s>"; a failing run stops the benchmark.
timed() {
  local timing
  timing=$( { TIMEFORMAT='%R %U %S'; time "$@" > "$work/out.txt" 2> "$work/err.txt"; } 2>&1 ) || {
    echo "failed: $*" >&2; head -5 "$work/err.txt" >&2; exit 1; }
  awk '{ printf "%.2f %.2f", $1, $2 + $3 }' <<< "$timing"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

declare -A wall cpu
for run in $(seq "$runs"); do
  for jobs in 1 2; do
    out="$work/out-j$jobs"
    rm -rf "$out" && mkdir -p "$out"
    before=$(load)
    read -r w c <<< "$(timed "$tool" report --date 09-12-2026 -j "$jobs" --all "$data" "$out")"
    reports=$(find "$out" -maxdepth 1 -name '*.zrp' | wc -l)
    printf 'run %d  report --all  -j %d: %6.2f s wall %6.2f s CPU  (%d reports; load %s -> %s)\n' \
      "$run" "$jobs" "$w" "$c" "$reports" "$before" "$(load)"
    wall[report,$jobs]+="$w "; cpu[report,$jobs]+="$c "
    rm -rf "$out/PDF"
    before=$(load)
    read -r w c <<< "$(timed "$tool" pdf --date 09-12-2026 -j "$jobs" --missing "$out")"
    pdfs=$(find "$out/PDF" -name '*.pdf' | wc -l)
    printf 'run %d  pdf --missing -j %d: %6.2f s wall %6.2f s CPU  (%d PDFs; load %s -> %s)\n' \
      "$run" "$jobs" "$w" "$c" "$pdfs" "$before" "$(load)"
    wall[pdf,$jobs]+="$w "; cpu[pdf,$jobs]+="$c "
  done
done

if diff -r -q "$work/out-j1" "$work/out-j2" > /dev/null; then
  echo "-j 1 and -j 2 wrote byte-identical folders"
else
  echo "-j 1 and -j 2 wrote DIFFERENT folders" >&2
  exit 1
fi
echo
printf '%-16s %12s %12s %12s %12s %10s\n' "$count admin." "-j 1 wall" "-j 1 CPU" "-j 2 wall" "-j 2 CPU" "speed-up"
for what in report pdf; do
  w1=$(tr ' ' '\n' <<< "${wall[$what,1]}" | grep . | median)
  c1=$(tr ' ' '\n' <<< "${cpu[$what,1]}" | grep . | median)
  w2=$(tr ' ' '\n' <<< "${wall[$what,2]}" | grep . | median)
  c2=$(tr ' ' '\n' <<< "${cpu[$what,2]}" | grep . | median)
  name=$([ "$what" = report ] && echo "report --all" || echo "pdf --missing")
  printf '%-16s %10s s %10s s %10s s %10s s %9sx\n' "$name" "$w1" "$c1" "$w2" "$c2" \
    "$(awk -v a="$w1" -v b="$w2" 'BEGIN { printf "%.2f", a / b }')"
done
echo "(medians of $runs runs; $(nproc) cores; data and outputs kept in $work)"
