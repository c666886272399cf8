#!/usr/bin/env bash
# Kill test of the recovery journal with the real program. On a virtual display
# (with a private PulseAudio null sink) one administration is given with the
# mouse and keyboard, driven through the layout file as in the walkthrough:
# the deletion test's 3 examples and 12 items, "Ja" on the after-screen, the
# swap test's 12 items. At KILLS moments spread at random over the
# administration (a prompt playing, the stopwatch running, a time stopped but
# not yet marked, just after a mark, the after-screen) the program is killed
# with SIGKILL. Each time it is started again, recovery is accepted, and the
# data files must hold every mark given before the kill, each with a time;
# then the administration is resumed with "Testafname hervatten" and must go
# on at the first item without a mark. At the end the data files must hold
# exactly the marks given, in order.
#
# Usage: tools/kill-recovery-check.sh OUTPUT_FOLDER [KILLS]   (default 20)
#   env ZOR_BUILD        build folder with bin/zor, used as it is (default: build)
#       ZOR_KILL_DISPLAY X display number (default: 73)
#       ZOR_KILL_SEED    seed of the random kill moments (default: the time)
# Exits non-zero when anything was lost.
set -euo pipefail
# shellcheck disable=SC2317
{
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 OUTPUT_FOLDER [KILLS]" >&2; exit 2; }
out=$(mkdir -p "$1" && cd "$1" && pwd)
kills=${2:-20}
build=${ZOR_BUILD:-build}
case $build in /*) ;; *) build=$root/$build ;; esac
display=:${ZOR_KILL_DISPLAY:-73}
seed=${ZOR_KILL_SEED:-$(date +%s)}
RANDOM=$seed

"$root/scripts/install-missing.sh" xvfb xdotool imagemagick python3
[ -x "$build/bin/zor" ] || { echo "no program at $build/bin/zor" >&2; exit 1; }

# shellcheck source=tools/virtual_session.sh
source "$root/tools/virtual_session.sh"
zor=
session_before_cleanup() {
  if [ -n "$zor" ]; then kill -9 "$zor" 2> /dev/null || true; fi
}
# Folders of their own for this run; the program's first start makes them.
data=$work/data
use_own_settings "$data" "$work/reports"
start_display "$display" ZOR_KILL_DISPLAY

layout=$work/layout.txt
runs=0
start_program() {
  runs=$((runs + 1))
  rm -f "$layout"
  ZOR_LAYOUT_FILE=$layout QT_QPA_PLATFORM=xcb "$build/bin/zor" >> "$out/zor.log" 2>&1 &
  zor=$!
}

# ---------------------------------------------------------------- driving
# shellcheck source=tools/layout_driving.sh
source "$root/tools/layout_driving.sh"
on_failure() {
  kill -0 "$xvfb" 2> /dev/null || echo "(the virtual display $display has ended)" >&2
  cp -r "$data" "$out/failure-data" 2> /dev/null || true
}

# ---------------------------------------------------------------- the plan
code=Kill01
key_today=${code}_$(date +%d-%m-%Y)
marks=(g g f g g g f g g f g g g f g   g f g g g f g g f g g g)  # 15 deletion, 12 swap
steps=${#marks[@]}
fw_steps=15
# Kill moments: slot = 5 * step + phase; phase 0 a prompt playing, 1 the
# stopwatch running, 2 stopped without a mark, 3 just after the mark, 4 (only
# after the last deletion step) the after-screen. Spread evenly at random.
slots=$((5 * steps))
kill_slots=()
width=$((slots / kills > 0 ? slots / kills : 1))
for ((k = 0; k < kills; k++)); do
  kill_slots+=($((k * slots / kills + RANDOM % width)))
done
echo "seed $seed; kill slots: ${kill_slots[*]}" | tee "$out/plan.txt"
next_kill=0
given=0          # marks the program has taken, in plan order
killed_count=0
recovered_ok=0

kill_here() {  # slot
  [ $next_kill -lt ${#kill_slots[@]} ] && [ "${kill_slots[$next_kill]}" -le "$1" ]
}
do_kill() {
  next_kill=$((next_kill + 1))
  kill -9 "$zor"
  wait "$zor" 2> /dev/null || true
  zor=
  killed_count=$((killed_count + 1))
  echo "kill $killed_count at step $given (slot $1)" | tee -a "$out/plan.txt"
}

# Checks the data files against the marks given: every mark given in its
# place with a time, nothing beyond. Prints the problem and fails otherwise.
check_files() {
  python3 - "$data/Data/${key_today}_FW.wda" "$data/Data/${key_today}_FV.vda" \
    "$given" "$fw_steps" "${marks[@]}" <<'PY'
import sys
fw_file, fv_file, given, fw_steps = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
plan = ["1" if m == "g" else "0" for m in sys.argv[5:]]
def pairs(path):
    try:
        line = open(path, "rb").read().decode("cp1252").rstrip("\r\n").split("\r\n")[-1]
    except OSError as e:
        sys.exit(f"missing data file {path}: {e}")
    f = line.split(";")
    return [(f[i], f[i + 1]) for i in range(14, len(f) - 1, 2)], f
problems = []
for path, first, count in ((fw_file, 0, fw_steps), (fv_file, fw_steps, len(plan) - fw_steps)):
    got, fields = pairs(path)
    want = plan[first:first + max(0, min(count, given - first))]
    marks = [m for _, m in got[:count]]
    marks = [m for m in marks if m != ""]
    if marks != want:
        problems.append(f"{path.split('/')[-1]}: marks {marks}, given {want}")
    for t, m in got[:len(want)]:
        if not t.isdigit() or not 1 <= int(t) <= 600:
            problems.append(f"{path.split('/')[-1]}: time '{t}' with mark {m}")
if problems:
    sys.exit("; ".join(problems))
PY
}

# ---------------------------------------------------------------- one step
# Phase by phase; returns 1 when the program was killed.
test_step() {
  local s=$1 base=$((5 * $1))
  if [ "$s" -lt $fw_steps ]; then
    click BtnA
    kill_here $base && { sleep 0.$((RANDOM % 8)); do_kill $base; return 1; }
    wait_control BtnB '' 30
    click BtnB
  else
    click ButtonItem
    kill_here $base && { sleep 0.$((RANDOM % 8)); do_kill $base; return 1; }
  fi
  wait_control ButtonStptime 'BtnSTPred.gif' 30
  sleep 0.4
  kill_here $((base + 1)) && { sleep 0.$((RANDOM % 5)); do_kill $((base + 1)); return 1; }
  key space
  wait_control GoedBt '' 5
  kill_here $((base + 2)) && { do_kill $((base + 2)); return 1; }
  key "${marks[$s]}"
  wait_for "mark taken" 5 control_gone GoedBt
  given=$((s + 1))
  kill_here $((base + 3)) && { do_kill $((base + 3)); return 1; }
  return 0
}

# The introduction after a fresh start: its five prompts, then on.
introduction() {
  wait_screen "$1"
  for prompt in Int1 Int2 Int3 Int4 int5; do
    click "$prompt" 'BtnSpkOff.gif'
    wait_for "$prompt to start" 5 control_ready "$prompt" 'BtnSpkOn.gif'
    wait_for "$prompt to end" 60 control_ready ButtonIO
  done
  wait_control ButtonIO 'BtnSTred.gif'
  click ButtonIO
}

# After a restart: accept recovery, check the files, resume to the test screen.
recover_and_resume() {
  start_program
  dialog 'Testafname herstellen' 60 > /dev/null
  key Return   # "Ja", the default
  sleep 1
  dialog 'Testafname herstellen' 20 > /dev/null
  key Return   # the notice to continue with "Testafname hervatten"
  wait_screen ZORMAINForm 60
  if problem=$(check_files 2>&1); then
    recovered_ok=$((recovered_ok + 1))
    echo "  recovered: $given marks in the data files" | tee -a "$out/plan.txt"
  else
    fail "after kill $killed_count: $problem"
  fi
  click ButtonTH
  dialog 'Incomplete ZOR-afname openen en hervatten' > /dev/null
  xdotool type --delay 20 "$data/Incomplete afnames/$key_today.zta"
  key Return
  wait_for "open dialog to close" 10 no_dialog 'Incomplete ZOR-afname openen en hervatten'
  wait_screen ZORinvoer
  click ButtonContin
  # The deletion test goes on until it is finished (status 2), then the swap test.
  local status intro=FVin test=FVtfase
  status=$(head -n 1 "$data/Data/${key_today}_FW.wda" | cut -d';' -f14)
  [ "$status" = 2 ] && { intro=FWin; test=FWtfase; }
  wait_screen $intro
  click ButtonIO
  wait_screen $test
  # It goes on at the first step without a mark.
  local want=""
  if [ $test = FWtfase ] && [ $given -lt 3 ]; then want="Zeg voorbeeld $((given + 1))[!0-9]*"
  elif [ $test = FWtfase ] && [ $given -lt $fw_steps ]; then want="Zeg item $((given - 2))[!0-9]*"
  elif [ $test = FVtfase ] && [ $given -lt "$steps" ]; then want="Zeg item $((given - fw_steps + 1))"
  fi
  if [ -n "$want" ]; then
    local deadline=$((SECONDS + 10))
    # shellcheck disable=SC2053
    until [[ "$(control Label1 | cut -f9-)" == $want ]]; do
      [ $SECONDS -lt $deadline ] ||
        fail "resumed at '$(control Label1 | cut -f9-)', expected '$want'"
      sleep 0.1
    done
  else
    wait_control ButtonFinish '' 10
  fi
}

# The deletion test finished: the after-screen, "Ja", the swap introduction.
# Returns 1 when the program was killed on the after-screen.
after_deletion() {
  local slot=$((5 * (fw_steps - 1) + 4))
  click ButtonFinish
  wait_screen FWaft 30
  kill_here $slot && { sleep 0.$((RANDOM % 8)); do_kill $slot; return 1; }
  click BtnYes
  introduction FVin
  wait_screen FVtfase
}

# ---------------------------------------------------------------- the run
start_program
wait_screen ZORMAINForm 60
click ButtonNT
wait_screen ZORkeuze
click ButtonFW
wait_screen ZORinvoer
fill_entry "$code"
wait_control ButtonST 'BtnSTred.gif'
click ButtonST
introduction FWin
wait_screen FWtfase

while :; do
  if [ $given = $fw_steps ] && [ "$(active_screen)" = FWtfase ]; then
    after_deletion || recover_and_resume
    continue
  fi
  [ $given -lt "$steps" ] || break
  test_step $given || recover_and_resume
done
# Kill moments planned beyond the last mark.
while [ $next_kill -lt ${#kill_slots[@]} ]; do
  do_kill "${kill_slots[$next_kill]}"
  recover_and_resume
done
click ButtonFinish
wait_screen ZORfinish 30
check_files || fail "final data files"
cp "$data"/Data/* "$out"/
kill -9 "$zor"; wait "$zor" 2> /dev/null || true; zor=

echo "$recovered_ok of $kills kills recovered, nothing lost ($runs program starts)" |
  tee -a "$out/plan.txt"
[ "$recovered_ok" = "$kills" ] || exit 1
exit
}
