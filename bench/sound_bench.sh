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
awk '
  { for (i = 1; i <= NF; i++) { split($i, kv, "="); f[kv[1]] = kv[2] }
    n++; late[n] = f["late_ms"]; rest[n] = f["late_ms"] - f["tail_ms"] }
  END {
    asort(late); asort(rest)
    printf "late_ms (stopped - last audible sample): min %.1f  p10 %.1f  median %.1f  p90 %.1f  max %.1f\n",
      late[1], late[int(n * 0.1) + 1], late[int((n + 1) / 2)], late[int(n * 0.9)], late[n]
    printf "late_ms - tail_ms (after the end of the file):  min %.1f  median %.1f  max %.1f\n",
      rest[1], rest[int((n + 1) / 2)], rest[n]
    early = 0; over = 0
    for (i = 1; i <= n; i++) { if (late[i] < 0) early++; if (late[i] > 60) over++ }
    printf "early: %d   more than 60 ms late: %d   of %d\n", early, over, n
  }' "$work/plays.txt"
