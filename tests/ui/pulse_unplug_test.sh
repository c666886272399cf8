#!/usr/bin/env bash
# Starts a private PulseAudio server with two null sinks and runs the
# lost-output test against it. Exit 77 (skipped) only when no server can be
# started on this machine.
# Usage: pulse_unplug_test.sh TEST-PROGRAM SOURCE-FOLDER
set -euo pipefail
program=$1
root=$2
source "$root/tools/null_sink.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/zor-unplug.XXXXXX")
trap 'stop_null_sink; rm -rf "$work"' EXIT
if ! ZOR_SOUND_SERVER=pulseaudio start_null_sink "$work" || ! pactl info > /dev/null 2>&1; then
  echo "no sound server could be started:"
  tail -n 5 "$work/pulse.log" 2> /dev/null || true
  exit 77
fi
pactl load-module module-null-sink sink_name=zor_null2 rate=48000 channels=1 > /dev/null
pactl set-default-sink zor_null
module_of() { pactl list short modules | awk -v s="sink_name=$1" '$0 ~ s"( |$)" {print $1; exit}'; }
"$program" "$(module_of zor_null)" "$(module_of zor_null2)" \
  "$root/assets/Audio/FW/FWi01b.wav" "$root/assets/Audio/FW/FWi01a.wav"
