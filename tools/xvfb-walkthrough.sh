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
# The administration records the answers: the null sink's monitor is the
# program's microphone (PULSE_SOURCE), and during every step a spoken answer
# (espeak-ng) plays into the sink after the stopwatch started; the correction
# screen then shows a play button and a voice onset beside every item, and
# one recording per item must exist.
#
# This is a developer check, not a unit test: it takes a few minutes and
# depends on timing.
#
# Usage: tools/xvfb-walkthrough.sh OUTPUT_FOLDER [--no-build]
#   env ZOR_WALKTHROUGH_BUILD   build folder (default: build)
#       ZOR_WALKTHROUGH_USER    drive the installed package instead, as this
#                               (ordinary) user: the program is started from
#                               its desktop entry's Exec line with the user's
#                               own home, settings and folders; nothing is built
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
user=${ZOR_WALKTHROUGH_USER:-}
[ -n "$user" ] && build_first=0
build=${ZOR_WALKTHROUGH_BUILD:-$root/build}
display=:${ZOR_WALKTHROUGH_DISPLAY:-97}

"$root/scripts/install-missing.sh" xvfb xdotool imagemagick python3 espeak-ng sox pulseaudio-utils

if [ $build_first = 1 ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZOR_BUILD_TESTS=OFF > /dev/null
  cmake --build "$build" -j 2 --target zor > /dev/null
fi
if [ -n "$user" ]; then
  entry=/usr/share/applications/nl.zor.Zor.desktop
  [ -f "$entry" ] || { echo "the package is not installed: no $entry" >&2; exit 1; }
  user_home=$(getent passwd "$user" | cut -d: -f6)
  [ -d "$user_home" ] || { echo "no home folder for user $user" >&2; exit 1; }
  # The Exec line without its field codes, as a desktop would run it.
  program=$(sed -n 's/^Exec=//p' "$entry" | head -n 1 | sed 's/ %[fFuUik]//g')
else
  [ -x "$build/bin/zor" ] || { echo "no program at $build/bin/zor" >&2; exit 1; }
fi

# ---------------------------------------------------------------- set-up
# shellcheck source=tools/virtual_session.sh
source "$root/tools/virtual_session.sh"
session_keep=${ZOR_WALKTHROUGH_KEEP:-0}
if [ -z "$user" ]; then
  # Folders of their own for this run; the program's first start makes them.
  data=$work/data
  reports=$work/reports
  use_own_settings "$data" "$reports"
fi
start_display "$display" ZOR_WALKTHROUGH_DISPLAY
$null_sink_monitor > "$out/null-sink.raw" &
session_pids+=($!)
# The microphone is the sink's monitor; the child's answer is one spoken word.
export PULSE_SOURCE=zor_null.monitor
espeak-ng -v nl -w "$work/answer-raw.wav" "boom"
sox "$work/answer-raw.wav" -r 16000 -c 1 -b 16 "$work/answer.wav" silence 1 0.002 0.5%

if [ -z "$user" ]; then
  layout=$work/layout.txt
  ZOR_LAYOUT_FILE=$layout QT_QPA_PLATFORM=xcb "$build/bin/zor" > "$out/zor.log" 2>&1 &
  zor=$!
else
  # The user reaches the sound server and writes the layout file in a folder
  # of its own; everything else is the user's own session environment.
  chmod 711 "$work" "$XDG_RUNTIME_DIR"
  mkdir -m 700 "$work/user"
  chown "$user" "$work/user"
  layout=$work/user/layout.txt
  runuser -u "$user" -- env -i "HOME=$user_home" "USER=$user" "LOGNAME=$user" \
    PATH=/usr/local/bin:/usr/bin:/bin "DISPLAY=$display" "XDG_RUNTIME_DIR=$work/user" \
    "PULSE_SERVER=$PULSE_SERVER" "PULSE_SOURCE=$PULSE_SOURCE" LANG=C.UTF-8 "ZOR_LAYOUT_FILE=$layout" QT_QPA_PLATFORM=xcb \
    sh -c "exec $program" > "$out/zor.log" 2>&1 &
  zor=$!
fi
session_pids+=("$zor")

# ---------------------------------------------------------------- driving
# shellcheck source=tools/layout_driving.sh
source "$root/tools/layout_driving.sh"

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

# One step of a test screen: play the prompt(s) with the mouse, wait for the
# stopwatch, let the child answer, stop it with the space bar, mark with "g"
# or "f".
test_step() {
  local mark=$1; shift
  for prompt in "$@"; do click "$prompt"; done
  wait_control ButtonStptime 'BtnSTPred.gif' 30
  sleep 0.4
  paplay "$work/answer.wav"
  sleep 0.2
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
if [ -n "$user" ]; then
  # The folders the first start wrote into the user's settings.
  setting() { sed -n "s/^$1=//p" "$user_home/.config/zor/settings.ini" | tr -d '\r' | tail -n 1; }
  data=$(setting datapath)
  reports=$(setting trpath)
  { [ -d "$data/Data" ] && [ -d "$reports/PDF" ]; } || fail "first start made no folders ($data, $reports)"
  echo "first start: data folder $data, report folder $reports"
fi
shot main-menu 1
click ButtonNT

wait_screen ZORkeuze
shot subtest-choice
click ButtonFW

wait_screen ZORinvoer
shot entry-empty
fill_entry Walk01
click CBopnemen
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
    sleep 0.4
    paplay "$work/answer.wav"
    shot swap-stopwatch-running 0.2
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
for item in 1 6 12; do
  for subtest in FW FV; do
    line=$(control "${subtest}onset$item")
    [[ "$line" == *"stem na "* ]] || fail "no voice onset beside $subtest item $item: '$line'"
    control_ready "${subtest}play$item" || fail "no play button beside $subtest item $item"
  done
done
click FVplay2
shot correction-playing 0.5
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
recordings=$(find "$data/Opnames/$admin_key" -name 'F[WV]_[0-9][0-9].wav' 2> /dev/null | wc -l)
if [ "$recordings" = 24 ]; then echo "ok: 24 answer recordings"
else echo "MISSING: $recordings of 24 answer recordings in $data/Opnames/$admin_key" >&2; errors=$((errors + 1)); fi
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
