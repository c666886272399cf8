#!/usr/bin/env bash
# Answer recordings on a real sound server: a private PulseAudio server with a
# null sink whose monitor is the program's microphone (named in PULSE_SOURCE),
# spoken answer clips made with espeak-ng at 20 dB and 10 dB above a steady
# background noise made with sox, and the probe that runs a scripted
# administration and checks the recordings and their voice onsets.
# Usage: answer_recording_pulse_test.sh PROBE [RESULTS_FILE [KEEP_FOLDER]]
# (KEEP_FOLDER receives a copy of each recording.)
# Exit status 77 when no sound server can start.
set -euo pipefail
probe=$1
results=${2:-}
keep=${3:-}
root=$(cd "$(dirname "$0")/../.." && pwd)
for tool in pulseaudio pactl espeak-ng sox; do
  command -v "$tool" > /dev/null || { echo "missing $tool: run scripts/install-deps.sh"; exit 1; }
done
source "$root/tools/null_sink.sh"
work=$(mktemp -d /tmp/zor-recording-e2e.XXXXXX)
trap 'stop_null_sink; rm -rf "$work"' EXIT
unset PULSE_SINK PULSE_SOURCE
if ! start_null_sink "$work" > "$work/start.log" 2>&1 || ! pactl info > /dev/null 2>&1; then
  cat "$work/start.log"
  echo "no sound server could start: skipped"
  exit 77
fi
export PULSE_SOURCE=zor_null.monitor

# The room's background noise: pink noise at -40 dBFS RMS, steady throughout
# the administration. 10 words x 3 voices x 2 levels = 60 spoken clips, each
# scaled to 20 dB or 10 dB above the noise (RMS over the word); each clip
# starts with its speech (leading silence trimmed at -46 dBFS). Ten buzzes (a
# 150 Hz sawtooth that starts at full strength) at 20 dB check the timing of
# recording, prompt mark and onset on a sound whose onset is unmistakable: 9
# of 10 must be found within 30 ms (a timing fault moves them all; the
# detector has been seen to miss one that starts soon after the stopwatch).
# Of the spoken clips, 80 % at 20 dB and 70 % at 10 dB must be (in 10 dB of
# pink noise a faint first consonant, as in "vis" or "pen", can be lost).
noise_rms=0.01
sox -R -n -r 16000 -c 1 -b 16 "$work/pink.wav" synth 30 pinknoise
pink=$(sox "$work/pink.wav" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
sox "$work/pink.wav" "$work/noise.wav" vol "$(awk -v p="$pink" -v n=$noise_rms 'BEGIN { printf "%.6f", n / p }')"
# Writes $1 scaled so that its RMS lies $2 dB above the noise's to $3.
at_snr() {
  local rms
  rms=$(sox "$1" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
  sox "$1" "$3" vol "$(awk -v s="$rms" -v n=$noise_rms -v d="$2" 'BEGIN { printf "%.6f", n * 10 ^ (d / 20) / s }')"
}
words=(boom vis kat maan zon fiets huis sok pen tafel)
voices=("-s 150 -p 40" "-s 175 -p 60" "-s 130 -p 50")
list="$work/clips.txt"
: > "$list"
n=0
for w in "${words[@]}"; do
  for v in "${voices[@]}"; do
    n=$((n + 1))
    # shellcheck disable=SC2086
    espeak-ng -v nl $v -w "$work/raw$n.wav" "$w"
    sox "$work/raw$n.wav" -r 16000 -c 1 -b 16 "$work/speech$n.wav" \
      silence 1 0.002 0.5% reverse silence 1 0.002 0.5% reverse
    for snr in 20 10; do
      at_snr "$work/speech$n.wav" $snr "$work/clip${n}_$snr.wav"
      share=$([ $snr = 20 ] && echo 0.8 || echo 0.7)
      echo "$work/clip${n}_$snr.wav ${snr}dB $share" >> "$list"
    done
  done
done
sox -n -r 16000 -c 1 -b 16 "$work/sawtooth.wav" synth 0.4 sawtooth 150
at_snr "$work/sawtooth.wav" 20 "$work/buzz.wav"
for n in $(seq 10); do
  echo "$work/buzz.wav buzz20dB 0.9" >> "$list"
done
# Mixed order, the same every run.
awk 'BEGIN { srand(16) } { print rand() "\t" $0 }' "$list" | sort -n | cut -f2- > "$list.mixed"
"$probe" "$work/noise.wav" "$list.mixed" "${results:-$work/results.txt}" ${keep:+"$keep"}
