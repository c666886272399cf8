#!/usr/bin/env bash
# The installed program as an ordinary user meets it: `cmake --install` into a
# temporary prefix, then, as an unprivileged user (nobody, when run as root)
# with an empty home folder, the installed zor starts on the offscreen
# platform. Its first start must create the data and report folders and the
# settings, private to the user; it must find its pictures and sounds in
# ../share/zor (nothing lies beside the installed executable), reach the idle
# main menu, and end cleanly when the system asks it to stop. A second start
# must change nothing. Then the installed zor-tool writes a report and its PDF
# from a stored administration, both readable by the user alone.
# Usage: installed_program_test.sh BUILD_FOLDER SOURCE_FOLDER
set -euo pipefail
build=$1
source=$2

work=$(mktemp -d /tmp/zor-installed-test.XXXXXX)
zor_pid=
cleanup() {
  [ -n "$zor_pid" ] && kill -KILL "$zor_pid" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
mode_of() { stat -c %a "$1"; }

chmod 755 "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > "$work/install.log" || fail "cmake --install"
[ ! -e "$prefix/bin/Graphics" ] || fail "pictures installed beside the executable"
for f in share/zor/Graphics/ZORlogo.jpg share/zor/Audio/FW/FWi01a.wav \
  share/applications/nl.zor.Zor.desktop share/metainfo/nl.zor.Zor.metainfo.xml \
  share/icons/hicolor/48x48/apps/nl.zor.Zor.png share/man/man1/zor.1 share/man/man1/zor-tool.1; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done

home=$work/home
run=$work/run
mkdir -m 700 "$home" "$run"
as_user=()
if [ "$(id -u)" = 0 ]; then
  chown 65534:65534 "$home" "$run"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
# A clean environment, as a desktop session gives it; the sanitizer settings
# of the test command pass through.
user_env=(env -i "HOME=$home" "PATH=/usr/bin:/bin" "XDG_RUNTIME_DIR=$run" LANG=C.UTF-8
  QT_QPA_PLATFORM=offscreen "ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}"
  "UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1}"
  "LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$source/scripts/lsan-suppressions.txt}")

[ "$("${as_user[@]}" "${user_env[@]}" "$prefix/bin/zor" --version)" = "$("${user_env[@]}" "$prefix/bin/zor-tool" --version | sed 's/^zor-tool/zor/')" ] ||
  fail "zor and zor-tool give different versions"

# Without its pictures and sounds the program says where it looked, and stops.
mkdir -p "$work/elsewhere/bin"
cp "$prefix/bin/zor" "$prefix/bin/zor-tool" "$work/elsewhere/bin/"
status=0
"${user_env[@]}" "$work/elsewhere/bin/zor" > "$work/missing.log" 2>&1 || status=$?
[ $status = 1 ] || fail "zor without its files ended with status $status"
grep -qF "Gezocht in: $work/elsewhere/bin, $work/elsewhere/share/zor." "$work/missing.log" ||
  fail "zor without its files: $(cat "$work/missing.log")"

layout=$run/layout.txt
screen_line() { [ -f "$layout" ] && awk -F'\t' '$1 == "screen"' "$layout"; }
start_and_stop() {
  rm -f "$layout"
  "${as_user[@]}" "${user_env[@]}" "ZOR_LAYOUT_FILE=$layout" "$prefix/bin/zor" > "$work/zor.log" 2>&1 &
  zor_pid=$!
  # The main menu, faded in completely, with its buttons' pictures.
  local deadline=$((SECONDS + 120))
  until screen_line | awk -F'\t' '$2 == "ZORMAINForm" && $7 == 255 { f = 1 } END { exit !f }' &&
    grep -q 'BtnNToff.gif' "$layout"; do
    kill -0 "$zor_pid" 2> /dev/null || { cat "$work/zor.log" >&2; fail "zor ended before the main menu"; }
    [ $SECONDS -lt $deadline ] || { cat "$work/zor.log" >&2; fail "no main menu within 120 s"; }
    sleep 0.1
  done
  kill -TERM "$zor_pid"
  local status=0
  deadline=$((SECONDS + 30))
  while kill -0 "$zor_pid" 2> /dev/null; do
    [ $SECONDS -lt $deadline ] || fail "zor did not end within 30 s of SIGTERM"
    sleep 0.1
  done
  wait "$zor_pid" || status=$?
  zor_pid=
  [ $status = 0 ] || { cat "$work/zor.log" >&2; fail "zor ended with status $status"; }
}

start_and_stop
settings=$home/.config/zor/settings.ini
zor_folder=$home/ZOR
[ -f "$settings" ] || fail "no settings file"
[ "$(mode_of "$settings")" = 600 ] || fail "settings file has mode $(mode_of "$settings")"
grep -qxF "datapath=$zor_folder/Data"$'\r' "$settings" || fail "datapath: $(cat "$settings")"
grep -qxF "trpath=$zor_folder/Testrapporten"$'\r' "$settings" || fail "trpath: $(cat "$settings")"
for d in .config/zor ZOR ZOR/Data ZOR/Data/Data "ZOR/Data/Incomplete afnames" ZOR/Testrapporten \
  ZOR/Testrapporten/PDF; do
  [ -d "$home/$d" ] || fail "no folder $d"
  [ "$(mode_of "$home/$d")" = 700 ] || fail "folder $d has mode $(mode_of "$home/$d")"
done

# A second start changes nothing the first one made.
listing() { (cd "$home" && find .config/zor ZOR -printf '%p %m %s\n' | sort && md5sum "$settings"); }
before=$(listing)
start_and_stop
[ "$(listing)" = "$before" ] || fail "the second start changed the folders or settings"

# The installed zor-tool, as the same user, from a stored administration.
cp "$source"/tests/data/report/datamap/Data/K123_05-03-2011_F* "$zor_folder/Data/Data/"
[ "$(id -u)" = 0 ] && chown 65534:65534 "$zor_folder"/Data/Data/*
"${as_user[@]}" "${user_env[@]}" "$prefix/bin/zor-tool" report --date 10-12-2026 \
  "$zor_folder/Data" K123_05-03-2011 "$zor_folder/Testrapporten" > "$work/tool.log" 2>&1 ||
  { cat "$work/tool.log" >&2; fail "zor-tool report"; }
shopt -s nullglob
reports=("$zor_folder"/Testrapporten/*.zrp)
pdfs=("$zor_folder"/Testrapporten/PDF/*.pdf)
{ [ ${#reports[@]} = 1 ] && [ ${#pdfs[@]} = 1 ]; } || fail "expected one report and one PDF: $(cat "$work/tool.log")"
for f in "${reports[0]}" "${pdfs[0]}"; do
  [ "$(mode_of "$f")" = 600 ] || fail "$(basename "$f") has mode $(mode_of "$f")"
done
head -c 5 "${pdfs[0]}" | grep -q '%PDF-' || fail "the PDF does not start as one"
echo "installed program: first start, second start, zor-tool report: all as expected"
