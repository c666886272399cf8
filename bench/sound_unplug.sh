#!/usr/bin/env bash
# The lost-output case on a private sound server with two null sinks: a long
# prompt plays on the default one (zor_null), whose module is unloaded one
# second in; the player must report Stopped on its timing (no hang, no early
# end past the silent timing), report the loss, and the next prompt must be
# heard on the server's new default output (zor_null2's monitor). Prints the
# probe's findings and result=PASS or FAIL (exit status 0 or 1).
# Usage: bench/sound_unplug.sh   (ZOR_SOUND_SERVER=pulseaudio or pipewire;
# build folder: $ZOR_BENCH_BUILD or build-bench)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

source "$root/bench/build_bench.sh"
build_bench_targets sound_unplug_probe

source "$root/tools/null_sink.sh"
work=$(mktemp -d)
trap 'stop_null_sink; rm -rf "$work"' EXIT
start_null_sink "$work"
pactl load-module module-null-sink sink_name=zor_null2 rate=48000 channels=1 > /dev/null
sleep 0.5
pactl set-default-sink zor_null
module=$(pactl list short modules | awk '/sink_name=zor_null( |$)/ {print $1; exit}')
echo "server: ${ZOR_SOUND_SERVER:-pulseaudio}  default sink module: $module  load: $(uptime)"

"$build/bin/sound_unplug_probe" "pactl unload-module $module" \
  zor_null2.monitor \
  "$root/assets/Audio/FW/FWn01.wav" "$root/assets/Audio/FW/FWi01a.wav"
