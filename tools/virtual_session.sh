# shellcheck shell=bash
# Shell functions of the walkthrough and the kill check (source this file): a
# temporary work folder, settings of its own, a private virtual display and a
# private sound server with a null sink; everything started here is ended, and
# the work folder removed, when the script exits.
#   session_pids                processes to end at exit, last started first
#   session_keep=1              keeps the work folder (its name is printed)
#   session_before_cleanup      a function the script may define; runs first at exit
#   use_own_settings DATA REPORTS   settings file in the work folder naming the
#                               data and report folders (the program's first
#                               start makes them)
#   start_display DISPLAY HINT  Xvfb on DISPLAY (":97") and the null sink; HINT
#                               names the variable that picks another display
#                               when this one is in use. Sets xvfb (its pid).

work=$(mktemp -d)
session_pids=()
session_keep=0
session_before_cleanup() { :; }
session_cleanup() {
  session_before_cleanup
  local pid
  for ((i = ${#session_pids[@]} - 1; i >= 0; i--)); do
    pid=${session_pids[i]}
    kill "$pid" 2> /dev/null || true
    wait "$pid" 2> /dev/null || true
  done
  if [ "$session_keep" = 1 ]; then echo "kept: $work"; else rm -rf "$work"; fi
}
trap session_cleanup EXIT

use_own_settings() {
  export ZOR_SETTINGS_FILE=$work/settings.ini
  printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lomba\\ZOR\\SETTINGS]\r\ndatapath=%s\r\ntrpath=%s\r\n' \
    "$1" "$2" > "$ZOR_SETTINGS_FILE"
}

start_display() {
  if [ -e "/tmp/.X11-unix/X${1#:}" ]; then
    echo "display $1 is in use; set $2" >&2
    exit 1
  fi
  Xvfb "$1" -screen 0 1280x1024x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
  xvfb=$!
  session_pids+=("$xvfb")
  export DISPLAY=$1
  for _ in $(seq 100); do xdotool getdisplaygeometry > /dev/null 2>&1 && break; sleep 0.1; done
  # shellcheck source=tools/null_sink.sh disable=SC2154  # root: set by the sourcing script
  source "$root/tools/null_sink.sh"
  start_null_sink "$work"
  session_pids+=("$null_sink_pid")
}
