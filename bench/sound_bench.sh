#!/usr/bin/env bash
# Sound benchmark: plays each of the 52 prompts through a null sink of a
# private sound server, records the sink's monitor, and reports
# how long after the last audible sample the player's mode reads Stopped
# (goal: never early, at most 20 ms late). While the prompts play, pactl
# samples the latency the server reports for the player's stream (buffer
# and sink part), so the table shows what the server said.
# Usage: bench/sound_bench.sh [latency-ms]
#   latency-ms   the stream buffer asked of the server (PULSE_LATENCY_MSEC);
#                none: the player's own request
#   ZOR_SOUND_SERVER=pulseaudio (default) or pipewire chooses the server.
#   Build folder: $ZOR_BENCH_BUILD or build-bench.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
latency="${1:-}"

source "$root/bench/build_bench.sh"
build_bench_targets sound_probe

source "$root/tools/null_sink.sh"
work=$(mktemp -d)
sampler=
trap '[ -n "$sampler" ] && kill "$sampler" 2> /dev/null; stop_null_sink; rm -rf "$work"' EXIT
start_null_sink "$work"

# The server's latency figures for the playing stream, twice a second.
(
  for _ in $(seq 1200); do
    pactl list sink-inputs 2> /dev/null | grep -E "Buffer Latency|Sink Latency" | tr -d '\t' || true
    sleep 0.5
  done
) > "$work/server-latency.txt" &
sampler=$!

files=("$root"/assets/Audio/FW/*.wav "$root"/assets/Audio/FV/*.wav)
if [ -n "$latency" ]; then export PULSE_LATENCY_MSEC="$latency"; fi
"$build/bin/sound_probe" "$null_sink_monitor_source" "${files[@]}" 2> "$work/probe.log" | tee "$work/plays.txt"
unset PULSE_LATENCY_MSEC
# ZOR_BENCH_RAW_DIR keeps the per-prompt lines, the player's timing log and
# the server's latency samples.
if [ -n "${ZOR_BENCH_RAW_DIR:-}" ]; then
  mkdir -p "$ZOR_BENCH_RAW_DIR"
  cp "$work/plays.txt" "$work/probe.log" "$work/server-latency.txt" "$ZOR_BENCH_RAW_DIR/"
fi
kill "$sampler" 2> /dev/null || true
sampler=

echo "server: ${ZOR_SOUND_SERVER:-pulseaudio}  requested buffer: ${latency:-player default} ms  load: $(uptime)"
echo "prompts: $(wc -l < "$work/plays.txt") of ${#files[@]}"
# late_ms: Stopped minus the last audible sample heard; the file's own quiet
# tail (tail_ms) is part of the sound, so late_ms - tail_ms is how late the
# report comes after the end of the file as played.
python3 - "$work/plays.txt" "$work/server-latency.txt" <<'PY'
import re, statistics, sys
plays = [dict(f.split("=", 1) for f in line.split()) for line in open(sys.argv[1]) if line.strip()]
late = sorted(float(p["late_ms"]) for p in plays)
after = sorted(float(p["late_ms"]) - float(p["tail_ms"]) for p in plays)
folded = sorted(float(p["latency_ms"]) for p in plays)
onset = sorted(float(p["play_to_first_heard_ms"]) for p in plays)
buf, sink = [], []
for line in open(sys.argv[2]):
    m = re.match(r"(Buffer|Sink) Latency: (\d+) usec", line.strip())
    if m: (buf if m.group(1) == "Buffer" else sink).append(int(m.group(2)) / 1000)
def q(v, f): return v[min(len(v) - 1, int(f * len(v)))]
def med(v): return f"{statistics.median(v):.1f}" if v else "-"
print(f"server-reported stream latency (pactl, median of {len(buf)} samples): buffer {med(buf)} ms + sink {med(sink)} ms"
      + (f" = {statistics.median(b + s for b, s in zip(buf, sink)):.1f} ms" if buf and sink else ""))
print(f"output latency folded into the end (latency_ms): min {folded[0]:.0f}  median {statistics.median(folded):.0f}  max {folded[-1]:.0f}")
print(f"play request to first audible sample: median {statistics.median(onset):.1f} ms  max {onset[-1]:.1f}")
print(f"late_ms (Stopped - last audible sample): min {late[0]:.1f}  p10 {q(late, .1):.1f}  "
      f"median {statistics.median(late):.1f}  p90 {q(late, .9):.1f}  max {late[-1]:.1f}")
arrival = sorted(float(p["late_arrival_ms"]) for p in plays)
print(f"late_arrival_ms (Stopped - arrival of that sample at the monitor, the older measure): "
      f"min {arrival[0]:.1f}  median {statistics.median(arrival):.1f}  max {arrival[-1]:.1f}")
print(f"late_ms - tail_ms (after the end of the file as played): min {after[0]:.1f}  "
      f"median {statistics.median(after):.1f}  max {after[-1]:.1f}")
print(f"early: {sum(v < 0 for v in late)}   more than 20 ms late: {sum(v > 20 for v in late)}   of {len(late)}")
PY
