#!/usr/bin/env bash
# Hand walkthrough of one complete administration in the real program, on a
# virtual display with a private PulseAudio server whose only output is a null
# sink. The mouse and the keyboard are driven with xdotool, as a test leader
# would: new administration, subject entry, the deletion introduction (five
# prompts), its 3 examples and 12 items, "Ja" on the after-screen, the swap
# introduction and its 12 items, the finish screen, the report preview; then
# the stored-report viewer opens the report, the correction screen changes one
# mark and the corrected files are checked. A screenshot of every screen goes
# to the output folder. At the end the data, report and PDF files must exist
# and the recording of the null sink must hold sound.
#
# This is a developer check, not a unit test: it takes a few minutes and
# depends on timing.
#
# Usage: tools/xvfb-walkthrough.sh OUTPUT_FOLDER [--no-build]
#   env ZOR_WALKTHROUGH_BUILD   build folder (default: build)
#       ZOR_WALKTHROUGH_DISPLAY X display number to use (default: 97)
#       ZOR_WALKTHROUGH_KEEP=1  keep the temporary data/report folders
#
# Click positions are never written here: the program, started with
# ZOR_LAYOUT_FILE, keeps a description of the active screen's controls in that
# file (screen name, each control's place on the display, state and text), and
# every click below names a control.
set -euo pipefail
# The whole script is one block, read before it runs: editing the file while
# a walkthrough runs does not change that run. (Functions called through
# wait_for and the exit trap look unreachable to shellcheck inside a block.)
# shellcheck disable=SC2317
{
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 OUTPUT_FOLDER [--no-build]" >&2; exit 2; }
out=$(mkdir -p "$1" && cd "$1" && pwd)
build_first=1
[ "${2:-}" = --no-build ] && build_first=0
build=${ZOR_WALKTHROUGH_BUILD:-$root/build}
display=:${ZOR_WALKTHROUGH_DISPLAY:-97}

"$root/scripts/install-missing.sh" xvfb xdotool imagemagick python3

if [ $build_first = 1 ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZOR_BUILD_TESTS=OFF > /dev/null
  cmake --build "$build" -j 2 --target zor > /dev/null
fi
[ -x "$build/bin/zor" ] || { echo "no program at $build/bin/zor" >&2; exit 1; }

# ---------------------------------------------------------------- set-up
work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    pid=${pids[i]}
    kill "$pid" 2> /dev/null || true
    wait "$pid" 2> /dev/null || true
  done
  if [ "${ZOR_WALKTHROUGH_KEEP:-0}" = 1 ]; then echo "kept: $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

export ZOR_SETTINGS_FILE=$work/settings.ini
ZOR_DATA_DIR=$work/data ZOR_REPORT_DIR=$work/reports "$root/scripts/prepare-folders.sh" > /dev/null
data=$work/data
reports=$work/reports

if [ -e "/tmp/.X11-unix/X${display#:}" ]; then
  echo "display $display is in use; set ZOR_WALKTHROUGH_DISPLAY" >&2
  exit 1
fi
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 100); do xdotool getdisplaygeometry > /dev/null 2>&1 && break; sleep 0.1; done

source "$root/tools/null_sink.sh"
start_null_sink "$work"
pids+=("$null_sink_pid")
$null_sink_monitor > "$out/null-sink.raw" &
pids+=($!)

layout=$work/layout.txt
ZOR_LAYOUT_FILE=$layout QT_QPA_PLATFORM=xcb "$build/bin/zor" > "$out/zor.log" 2>&1 &
zor=$!
pids+=("$zor")

# ---------------------------------------------------------------- driving
fail() {
  echo "FAILED: $* (active screen: $(active_screen))" >&2
  import -window root "$out/failure.png" 2> /dev/null || true
  [ -f "$layout" ] && cp "$layout" "$out/failure-layout.txt"
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

shots=0
last_shot=""
shot() {
  sleep "${2:-0.3}"
  shots=$((shots + 1))
  previous_shot=$last_shot
  last_shot="$out/$(printf '%02d' $shots)-$1.png"
  import -window root "$last_shot"
}
# Whether the last two screenshots differ.
shots_differ() {
  [ "$(compare -metric AE "$previous_shot" "$last_shot" null: 2>&1 || true)" != 0 ]
}

# A Qt dialog window with the given title: waits for it, gives it the keyboard.
dialog() {
  local id=""
  local deadline=$((SECONDS + 20))
  until id=$(xdotool search --onlyvisible --name "^$1\$" 2> /dev/null | head -n 1) && [ -n "$id" ]; do
    [ $SECONDS -lt $deadline ] || fail "no dialog '$1'"
    sleep 0.1
  done
  xdotool windowfocus --sync "$id" 2> /dev/null || xdotool windowfocus "$id"
  sleep 0.3
  echo "$id"
}
no_dialog() { ! xdotool search --onlyvisible --name "^$1\$" > /dev/null 2>&1; }

# One step of a test screen: play the prompt(s) with the mouse, wait for the
# stopwatch, stop it with the space bar, mark with "g" or "f".
test_step() {
  local mark=$1; shift
  for prompt in "$@"; do click "$prompt"; done
  wait_control ButtonStptime 'BtnSTPred.gif' 30
  sleep 0.4
  key space
  wait_control GoedBt '' 5
  key "$mark"
  wait_for "mark taken" 5 control_gone GoedBt
}

# Plays the five introduction prompts in order, each once the one before has
# ended (the big buttons are enabled again when a prompt has finished).
introduction() {
  wait_screen "$1"
  shot "$1-start"
  for prompt in Int1 Int2 Int3 Int4 int5; do
    click "$prompt" 'BtnSpkOff.gif'
    wait_for "$prompt to start" 5 control_ready "$prompt" 'BtnSpkOn.gif'
    [ $prompt = Int2 ] && shot "$1-playing"
    wait_for "$prompt to end" 60 control_ready ButtonIO
  done
  wait_control ButtonIO 'BtnSTred.gif'
  shot "$1-heard"
  click ButtonIO
}

marks_fw=(g g f  g g g f g g f g g g f g)   # 3 examples, 12 items
marks_fv=(g f g g g f g g f g g g)

# ---------------------------------------------------------------- walkthrough
wait_screen ZORMAINForm 60
shot main-menu 1
click ButtonNT

wait_screen ZORkeuze
shot subtest-choice
click ButtonFW

wait_screen ZORinvoer
shot entry-empty
type_into Ecode Walk01
click_item RGsekse 1
type_into Egebdag 14
type_into Egebmnd 03
type_into Egebjaar 2018
type_into Eschool Regenboog
type_into Egroep 4
type_into Etl Jansen
wait_control ButtonST 'BtnSTred.gif'
shot entry-filled
click ButtonST

introduction FWin
wait_screen FWtfase
shot deletion-test-start
for i in "${!marks_fw[@]}"; do
  test_step "${marks_fw[$i]}" BtnA BtnB
  [ "$i" = 0 ] && shot deletion-after-first-step
done
click ButtonFinish
wait_for "save notice" 10 screen_active message
shot save-notice 0.4
wait_screen FWaft 30
shot after-deletion
click BtnYes

introduction FVin
wait_screen FVtfase
shot swap-test-start
for i in "${!marks_fv[@]}"; do
  if [ "$i" = 5 ]; then
    click ButtonItem
    wait_control ButtonStptime 'BtnSTPred.gif' 30
    shot swap-stopwatch-running 1
    key space
    wait_control GoedBt
    shot swap-marking
    key "${marks_fv[$i]}"
    wait_for "mark taken" 5 control_gone GoedBt
  else
    test_step "${marks_fv[$i]}" ButtonItem
  fi
done
shot swap-finish-offered
click ButtonFinish
wait_screen ZORfinish 30
shot finish
click ButtonTR

wait_screen PP 30
wait_control ButtonExit
shot report-preview 1
# At 200 % the lower part of the page is reached with the mouse wheel.
click ZoomComboBox
sleep 0.5
key Down Down Down Down Return
wait_for "zoom 200%" 5 control_ready ZoomComboBox '200%'
shot report-preview-200 0.5
# shellcheck disable=SC2046
xdotool mousemove --sync $(control PrintPreview | centre_of)
xdotool click --repeat 25 --delay 30 5
shot report-preview-200-scrolled 0.5
shots_differ || fail "the wheel did not scroll the report"
# The scroll bars reach the rest of the page: clicks in the vertical bar's
# track below its handle page down to the bottom, clicks in the horizontal
# bar's track right of its handle to the right edge.
read -r px py pw ph < <(control PrintPreview | awk -F'\t' '{ print $4, $5, $6, $7 }')
click_at $((px + pw - 6)) $((py + ph - 40))
xdotool click --repeat 8 --delay 80 1
click_at $((px + pw - 40)) $((py + ph - 6))
xdotool click --repeat 4 --delay 80 1
shot report-preview-200-scroll-bars 0.5
shots_differ || fail "the scroll bars did not scroll the report"
click ButtonExit
wait_screen ZORfinish 30
wait_control ButtonHM
shot finish-after-report
click ButtonHM

# The stored-report viewer: open the report and correct one mark.
wait_screen ZORMAINForm 30
click ButtonTRO
# The viewer asks for the report file at once, before its screen settles.
dialog 'ZOR-rapport openen en afdrukken' > /dev/null
shot open-dialog
report=$(find "$reports" -maxdepth 1 -name '*.zrp' | head -n 1)
[ -n "$report" ] || fail "no report file in $reports"
xdotool type --delay 20 "$report"
key Return
wait_for "open dialog to close" 10 no_dialog 'ZOR-rapport openen en afdrukken'
wait_screen TRO 30
wait_control CORRbtn '' 30
shot stored-report 1
click CORRbtn

wait_screen correct 30
shot correction 1
# Item 2 of the swap test was marked wrong: correct it to right.
click FVitem2acc
sleep 0.5
shot correction-chooser-open
key Down Down Return
wait_for "item 2 marked right" 5 control_ready FVitem2acc G
shot correction-changed
click CORRbtn
dialog Bevestigen > /dev/null
shot correction-confirm
key Return
wait_screen TRO 30
shot corrected-report 1
click ButtonExit
wait_screen ZORMAINForm 30
shot main-menu-again

# ---------------------------------------------------------------- checks
errors=0
expect_file() {
  if compgen -G "$1" > /dev/null; then echo "ok: $(basename "$(compgen -G "$1" | head -n 1)")"
  else echo "MISSING: $1" >&2; errors=$((errors + 1)); fi
}
admin_key=Walk01_$(date +%d-%m-%Y)
expect_file "$data/Data/${admin_key}_FW.wda"
expect_file "$data/Data/${admin_key}_FV.vda"
expect_file "$data/Data/${admin_key}_gecorrigeerd_FW.wda"
expect_file "$data/Data/${admin_key}_gecorrigeerd_FV.vda"
expect_file "$reports/*.zrp"
expect_file "$reports/*gecorrigeerd*.zrp"
expect_file "$reports/PDF/*.pdf"
if compgen -G "$data/Incomplete afnames/*.zta" > /dev/null; then
  echo "LEFT OVER: an incomplete-administration file after a finished administration" >&2
  errors=$((errors + 1))
fi
cp "$data"/Data/* "$reports"/*.zrp "$out"/ 2> /dev/null || true
cp "$reports"/PDF/*.pdf "$out"/ 2> /dev/null || true

# The null sink's recording: how many seconds of it hold sound.
sleep 0.5
python3 - "$out/null-sink.raw" <<'PY' || errors=$((errors + 1))
import array, sys
samples = array.array("h", open(sys.argv[1], "rb").read())
rate = 48000
loud = [max(map(abs, samples[i:i + rate // 10]), default=0) > 300
        for i in range(0, len(samples), rate // 10)]
seconds = sum(loud) / 10
print(f"null sink: {len(samples) / rate:.1f} s recorded, {seconds:.1f} s with sound, "
      f"peak {max(map(abs, samples), default=0)}")
sys.exit(0 if seconds >= 10 else 1)
PY

echo "screenshots: $shots in $out"
[ $errors = 0 ] || { echo "FAILED: $errors checks" >&2; exit 1; }
echo "walkthrough passed"
exit
}
