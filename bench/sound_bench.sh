#!/usr/bin/env bash
# Sound benchmark: plays each of the 52 prompts through a PulseAudio null
# sink, records the sink's monitor with parec, and reports how long after the
# last audible sample the player's mode reads Stopped (goal: never early,
# never more than 60 ms late). Starts its own PulseAudio server, installing
# pulseaudio when it is missing.
# Usage: bench/sound_bench.sh   (build folder: $ZOR_BENCH_BUILD or build-bench)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${ZOR_BENCH_BUILD:-$root/build-bench}"

if ! command -v pulseaudio > /dev/null || ! command -v parec > /dev/null; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends pulseaudio pulseaudio-utils
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZOR_BUILD_TESTS=OFF \
  -DZOR_BUILD_BENCH=ON > /dev/null
cmake --build "$build" -j 2 --target sound_probe > /dev/null

work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse-native"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
  -L "module-native-protocol-unix socket=$XDG_RUNTIME_DIR/pulse-native auth-anonymous=1" \
  -L "module-null-sink sink_name=zor_null rate=48000 channels=1" \
  --log-target=file:"$work/pulse.log" &
pulse=$!
trap 'kill "$pulse" 2> /dev/null; wait "$pulse" 2> /dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do pactl info > /dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-sink zor_null

export QT_QPA_PLATFORM=offscreen
files=("$root"/assets/Audio/FW/*.wav "$root"/assets/Audio/FV/*.wav)
monitor="parec --device=zor_null.monitor --format=s16le --rate=48000 --channels=1 --latency-msec=2 --raw"
"$build/bin/sound_probe" "$monitor" "${files[@]}" 2> "$work/probe.log" | tee "$work/plays.txt"

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
