#!/usr/bin/env bash
# Kills `zor-tool report` and `zor-tool pdf` at each of their file system calls in
# turn (write, fsync, linkat, rename, unlink; strace's fault injection) and checks
# that every report file and PDF is then either absent, the previous complete
# file or the new complete file - never a cut one. Run once without earlier files
# and once over earlier files.
#   tools/kill-test.sh path/to/zor-tool [scratch-folder]
# Prints the number of kill points tried; exits 1 on the first wrong file.
set -euo pipefail
tool=$(realpath "$1")
source "$(dirname "$0")/../tests/app/example_administration.sh"
scratch=${2:-$(mktemp -d /tmp/zor-kill-test.XXXXXX)}
command -v strace >/dev/null || bash "$(dirname "$0")/../scripts/install-missing.sh" strace
mkdir -p "$scratch"
cd "$scratch"
# LeakSanitizer cannot run under a tracer; the kill test is about files only.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1

key=Kim-3_05-03-2011
report="Kim-3 - 05-03-2011.zrp"
pdf="PDF/ZOR - ${key}.pdf"
syscalls=(write fsync linkat rename unlink)

rm -rf data new old work
mkdir -p new old
write_example_administration data

# The complete files of two different days: what a run writes, and what it replaces.
"$tool" report --date 10-12-2026 data "$key" new >/dev/null
"$tool" report --date 09-12-2026 data "$key" old >/dev/null
cmp -s "new/$report" "old/$report" && { echo "the two days give the same report file" >&2; exit 1; }

# Each target must be absent (when there was none), the old file or the new file.
check() {
  local what=$1 earlier=$2 file
  for file in "$report" "$pdf"; do
    [ "$what" = pdf ] && [ "$file" = "$report" ] && continue
    if [ -e "work/$file" ]; then
      if cmp -s "work/$file" "new/$file"; then :
      elif [ "$earlier" = yes ] && cmp -s "work/$file" "old/$file"; then :
      else echo "CUT OR WRONG: $what, $file ($(stat -c %s "work/$file") bytes) after: $point" >&2; exit 1; fi
    elif [ "$earlier" = yes ]; then
      echo "LOST: $what, $file after: $point" >&2; exit 1
    fi
  done
  leftovers=$((leftovers + $(find work -name '.*' -type f | wc -l)))
}

points=0
leftovers=0
declare -A per_call
for what in report pdf; do
  for earlier in no yes; do
    for syscall in "${syscalls[@]}"; do
      for n in $(seq 1 200); do
        rm -rf work && mkdir -p work
        if [ "$what" = pdf ]; then
          cp "new/$report" work/ && mkdir work/PDF
          [ "$earlier" = yes ] && cp "old/$pdf" work/PDF/
          command=("$tool" pdf --date 10-12-2026 "work/$report")
        else
          [ "$earlier" = yes ] && cp -r old/. work/
          command=("$tool" report --date 10-12-2026 data "$key" work)
        fi
        status=0
        strace -f -qq -o /dev/null -e trace="$syscall" -e inject="$syscall":signal=KILL:when="$n" \
          "${command[@]}" >/dev/null 2>&1 || status=$?
        point="$what, earlier files: $earlier, $syscall #$n"
        if [ "$status" -ne 137 ]; then
          # Not killed: the run got past its last such call and must have succeeded.
          [ "$status" -eq 0 ] || { echo "FAILED without a kill ($status): $point" >&2; exit 1; }
          check "$what" "$earlier"
          cmp -s "work/$pdf" "new/$pdf" || { echo "INCOMPLETE after a full run: $point" >&2; exit 1; }
          break
        fi
        points=$((points + 1))
        per_call[$what $syscall]=$(( ${per_call[$what $syscall]:-0} + 1 ))
        check "$what" "$earlier"
      done
    done
  done
done
for k in "${!per_call[@]}"; do echo "  $k: ${per_call[$k]}"; done | sort
echo "kill points: $points; hidden temporaries left by kills: $leftovers; every target absent, old or complete"
