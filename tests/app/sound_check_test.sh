#!/usr/bin/env bash
# zor-tool geluidstest without a sound server (exit 1, the reason said once)
# and on a private PulseAudio server with a null sink (exit 0, one value per
# line, the tone played). Exit 77 (skipped) only when no server can be started.
# Usage: sound_check_test.sh ZOR-TOOL SOURCE-FOLDER
set -euo pipefail
tool=$1
root=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/zor-sound-check.XXXXXX")
source "$root/tools/null_sink.sh"
trap 'stop_null_sink; rm -rf "$work"' EXIT
export HOME="$work/home"
mkdir -p "$HOME"
fail() { echo "FAILED: $*"; exit 1; }

status=0
PULSE_SERVER=unix:/nonexistent/zor-no-server "$tool" geluidstest > "$work/out" 2> "$work/err" || status=$?
cat "$work/err"
[ "$status" = 1 ] || fail "without a server the exit status is $status, not 1"
[ "$(wc -l < "$work/err")" = 1 ] || fail "without a server the reason is not said exactly once"
grep -q "geen geluidsserver" "$work/err" || fail "the reason does not name the missing server"

if ! ZOR_SOUND_SERVER=pulseaudio start_null_sink "$work" || ! pactl info > /dev/null 2>&1; then
  echo "no sound server could be started:"
  tail -n 5 "$work/pulse.log" 2> /dev/null || true
  exit 77
fi
status=0
"$tool" geluidstest > "$work/out" 2> "$work/err" || status=$?
cat "$work/out" "$work/err"
[ "$status" = 0 ] || fail "on a null sink the exit status is $status"
grep -qx "uitvoer: .*" "$work/out" || fail "no output device"
grep -qx "samplefrequentie: 48000 Hz" "$work/out" || fail "not the null sink's sample rate"
grep -qxE "latentie: [0-9]+ ms" "$work/out" || fail "no latency figure"
grep -qx "afgespeeld: ja" "$work/out" || fail "the tone was not played"
echo PASS
