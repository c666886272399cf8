# Shell functions of the sound benchmarks and the Xvfb walkthrough (source this file): a private
# sound server whose default sink is a null sink, and the parec command that
# records the sink's monitor as 16-bit mono at 48 kHz.
#   start_null_sink WORKDIR   starts the server named by $ZOR_SOUND_SERVER:
#                             "pulseaudio" (default) or "pipewire" (pipewire,
#                             wireplumber and pipewire-pulse on a private
#                             session bus), installing it when it is missing,
#                             with its sockets under WORKDIR; exports
#                             PULSE_SERVER and sets null_sink_monitor (a parec
#                             command) and null_sink_monitor_source (the
#                             monitor source's name)
#   stop_null_sink            ends the server (safe to call when none runs)
# Other users' sound servers are never touched: everything runs under the
# private runtime folder and only the processes started here are ended.

null_sink_pid=
null_sink_pids=()
null_sink_monitor_source=zor_null.monitor
null_sink_monitor="parec --device=zor_null.monitor --format=s16le --rate=48000 --channels=1 --latency-msec=2 --raw"

start_null_sink() {
  local work=$1
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  if [ "${ZOR_SOUND_SERVER:-pulseaudio}" = pipewire ]; then
    "$root/scripts/install-missing.sh" pipewire pipewire-pulse wireplumber pulseaudio-utils dbus
    dbus-daemon --session --address="unix:path=$XDG_RUNTIME_DIR/bus" --fork --print-pid \
      > "$work/dbus.pid"
    null_sink_pids+=("$(cat "$work/dbus.pid")")
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
    pipewire > "$work/pipewire.log" 2>&1 &
    null_sink_pid=$!
    null_sink_pids+=("$!")
    sleep 0.5
    wireplumber > "$work/wireplumber.log" 2>&1 &
    null_sink_pids+=("$!")
    pipewire-pulse > "$work/pipewire-pulse.log" 2>&1 &
    null_sink_pids+=("$!")
    export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
    for _ in $(seq 50); do pactl info > /dev/null 2>&1 && break; sleep 0.1; done
    pactl load-module module-null-sink sink_name=zor_null rate=48000 channels=1 > /dev/null
    # The session manager takes a moment to see the new sink.
    for _ in $(seq 50); do pactl set-default-sink zor_null 2> /dev/null && break; sleep 0.1; done
  else
    "$root/scripts/install-missing.sh" pulseaudio pulseaudio-utils
    export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse-native"
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
      -L "module-native-protocol-unix socket=$XDG_RUNTIME_DIR/pulse-native auth-anonymous=1" \
      -L "module-null-sink sink_name=zor_null rate=48000 channels=1" \
      --log-target=file:"$work/pulse.log" &
    null_sink_pid=$!
    null_sink_pids+=("$!")
    for _ in $(seq 50); do pactl info > /dev/null 2>&1 && break; sleep 0.1; done
    pactl set-default-sink zor_null
  fi
}

stop_null_sink() {
  local pid
  for pid in "${null_sink_pids[@]}"; do kill "$pid" 2> /dev/null || true; done
  for pid in "${null_sink_pids[@]}"; do wait "$pid" 2> /dev/null || true; done
  null_sink_pid=
  null_sink_pids=()
}
