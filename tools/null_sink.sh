# Shell functions of the sound benchmarks and the Xvfb walkthrough (source this file): a private
# PulseAudio server whose default sink is a null sink, and the parec command
# that records the sink's monitor as 16-bit mono at 48 kHz.
#   start_null_sink WORKDIR   installs pulseaudio when it is missing, starts the
#                             server with its socket under WORKDIR, exports
#                             PULSE_SERVER and sets null_sink_monitor
#   stop_null_sink            ends the server (safe to call when none runs)

null_sink_pid=
null_sink_monitor="parec --device=zor_null.monitor --format=s16le --rate=48000 --channels=1 --latency-msec=2 --raw"

start_null_sink() {
  local work=$1
  "$root/scripts/install-missing.sh" pulseaudio pulseaudio-utils
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse-native"
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    -L "module-native-protocol-unix socket=$XDG_RUNTIME_DIR/pulse-native auth-anonymous=1" \
    -L "module-null-sink sink_name=zor_null rate=48000 channels=1" \
    --log-target=file:"$work/pulse.log" &
  null_sink_pid=$!
  for _ in $(seq 50); do pactl info > /dev/null 2>&1 && break; sleep 0.1; done
  pactl set-default-sink zor_null
}

stop_null_sink() {
  [ -n "$null_sink_pid" ] || return 0
  kill "$null_sink_pid" 2> /dev/null || true
  wait "$null_sink_pid" 2> /dev/null || true
  null_sink_pid=
}
