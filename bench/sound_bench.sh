#!/usr/bin/env bash
# Sound benchmark: plays each of the 52 prompts through a PulseAudio null
# sink, records the sink's monitor with parec, and reports how long after the
# last audible sample the player's mode reads Stopped (goal: never early,
# never more than 60 ms late). Starts its own PulseAudio server, installing
# pulseaudio when it is missing.
# Usage: bench/sound_bench.sh   (build folder: $ZOR_BENCH_BUILD or build-bench)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

source "$root/bench/build_bench.sh"
build_bench_targets sound_probe

source "$root/tools/null_sink.sh"
work=$(mktemp -d)
trap 'stop_null_sink; rm -rf "$work"' EXIT
start_null_sink "$work"

export QT_QPA_PLATFORM=offscreen
files=("$root"/assets/Audio/FW/*.wav "$root"/assets/Audio/FV/*.wav)
"$build/bin/sound_probe" "$null_sink_monitor" "${files[@]}" 2> "$work/probe.log" | tee "$work/plays.txt"

echo "prompts: $(wc -l < "$work/plays.txt") of ${#files[@]}"
# late_ms: Stopped minus the last audible sample heard; the file's own quiet
# tail (tail_ms) is part of the sound, so late_ms - tail_ms is how late the
# report comes after the end of the file as played.
python3 - "$work/plays.txt" <<'PY'
import statistics, sys
plays = [dict(f.split("=", 1) for f in line.split()) for line in open(sys.argv[1]) if line.strip()]
late = sorted(float(p["late_ms"]) for p in plays)
after = sorted(float(p["late_ms"]) - float(p["tail_ms"]) for p in plays)
def q(v, f): return v[min(len(v) - 1, int(f * len(v)))]
print(f"late_ms (Stopped - last audible sample): min {late[0]:.1f}  p10 {q(late, .1):.1f}  "
      f"median {statistics.median(late):.1f}  p90 {q(late, .9):.1f}  max {late[-1]:.1f}")
print(f"late_ms - tail_ms (after the end of the file as played): min {after[0]:.1f}  "
      f"median {statistics.median(after):.1f}  max {after[-1]:.1f}")
print(f"early: {sum(v < 0 for v in late)}   more than 60 ms late: {sum(v > 60 for v in late)}   of {len(late)}")
PY
