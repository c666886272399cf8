# shellcheck shell=bash
# Driving the real program from outside, for the scripts that run it under a
# virtual display (source this file). The program, started with
# ZOR_LAYOUT_FILE, keeps a description of the active screen's controls in
# that file (screen name, each control's place on the display, state and
# text); every click below names a control, never a position.
# Needs: $layout (the layout file), $zor (the program's process id), $out (the
# output folder). A script may define on_failure, run before fail() exits.
# shellcheck disable=SC2154

fail() {
  echo "FAILED: $* (active screen: $(active_screen))" >&2
  import -window root "$out/failure.png" 2> /dev/null || true
  [ -f "$layout" ] && cp "$layout" "$out/failure-layout.txt"
  if declare -F on_failure > /dev/null; then on_failure; fi
  exit 1
}

# Waits until a shell condition holds (polls every 50 ms).
wait_for() {
  local what=$1 seconds=$2; shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    kill -0 "$zor" 2> /dev/null || fail "the program ended while waiting for $what"
    [ $SECONDS -lt $deadline ] || fail "no $what within $seconds s"
    sleep 0.05
  done
}

active_screen() { [ -f "$layout" ] && awk -F'\t' '$1 == "screen" { print $2 }' "$layout"; }
screen_settled() {
  [ -f "$layout" ] && awk -F'\t' -v s="$1" '$1 == "screen" && $2 == s && $7 == 255 { f = 1 }
    END { exit !f }' "$layout"
}
# The active screen is NAME and has faded in completely.
wait_screen() { wait_for "screen $1" "${2:-20}" screen_settled "$1"; }
# The active screen is NAME, whatever its opacity (the save notice never
# becomes opaque).
screen_active() { [ "$(active_screen)" = "$1" ]; }

# The line of a shown control of the active screen.
control() { awk -F'\t' -v c="$1" '$1 == "control" && $2 == c' "$layout"; }
# (PATTERN is a glob: "Btn*red.gif".)
# shellcheck disable=SC2053
control_ready() {
  local line
  line=$(control "$1")
  [ -n "$line" ] && [ "$(cut -f8 <<< "$line")" = 1 ] &&
    { [ -z "${2:-}" ] || [[ "$(cut -f9- <<< "$line")" == $2 ]]; }
}
control_gone() { [ -z "$(control "$1")" ]; }
# Waits until the control is shown and enabled (and its text matches PATTERN).
wait_control() { wait_for "enabled control $1${2:+ ($2)}" "${3:-20}" control_ready "$1" "${2:-}"; }

# Clicks the middle of a control (or of item INDEX of a radio group).
# (mousemove --sync never returns when the pointer is already there.)
click_at() {
  if [ "$(xdotool getmouselocation | awk '{ print $1, $2 }')" != "x:$1 y:$2" ]; then
    xdotool mousemove --sync "$1" "$2"
  fi
  xdotool click 1
}
centre_of() { awk -F'\t' '{ printf "%d %d", $4 + $6 / 2, $5 + $7 / 2 }'; }
click() {
  wait_control "$1" "${2:-}"
  # shellcheck disable=SC2046
  click_at $(control "$1" | centre_of)
}
click_item() {
  # shellcheck disable=SC2046
  click_at $(awk -F'\t' -v g="$1" -v i="$2" '$1 == "item" && $2 == g && $3 == i {
    printf "%d %d", $4 + $6 / 2, $5 + $7 / 2 }' "$layout")
}
type_into() {
  click "$1"
  xdotool type --delay 40 "$2"
  wait_for "text '$2' in $1" 5 control_ready "$1" "$2"
}
key() { xdotool key "$@"; }

# A Qt dialog window with the given title: waits for it (SECONDS, default 20),
# gives it the keyboard and prints its window id.
dialog() {
  local id=""
  local deadline=$((SECONDS + ${2:-20}))
  until id=$(xdotool search --onlyvisible --name "^$1\$" 2> /dev/null | head -n 1) && [ -n "$id" ]; do
    kill -0 "$zor" 2> /dev/null || fail "the program ended while waiting for dialog '$1'"
    [ $SECONDS -lt $deadline ] || fail "no dialog '$1'"
    sleep 0.1
  done
  xdotool windowfocus --sync "$id" 2> /dev/null || xdotool windowfocus "$id"
  sleep 0.3
  echo "$id"
}
no_dialog() { ! xdotool search --onlyvisible --name "^$1\$" > /dev/null 2>&1; }

# Fills the subject-entry screen for the subject CODE, field by field as a test
# leader types it: a boy born 14-03-2018, group 4 of school Regenboog, test
# leader Jansen.
fill_entry() {
  type_into Ecode "$1"
  click_item RGsekse 1
  type_into Egebdag 14
  type_into Egebmnd 03
  type_into Egebjaar 2018
  type_into Eschool Regenboog
  type_into Egroep 4
  type_into Etl Jansen
}
