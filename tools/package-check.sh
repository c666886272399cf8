#!/usr/bin/env bash
# Checks the Debian package as a test leader's machine meets it: builds it
# (scripts/build-deb.sh), runs lintian, desktop-file-validate and appstreamcli
# on it, installs it with apt-get, starts the program as an ordinary user on a
# virtual display from the desktop entry's Exec line, takes a screenshot of the
# main menu, closes the program, removes the package and checks that the
# user's folders and settings are still there.
#
# A developer check, not a unit test: it builds a release package (minutes).
#
# Usage (as root on Debian 12): tools/package-check.sh OUTPUT_FOLDER [--no-build] [--keep]
#   --no-build  use the package already in OUTPUT_FOLDER
#   --keep      leave the package installed and the user in place at the end
#   env ZOR_CHECK_DISPLAY  X display number (default 71)
#       ZOR_CHECK_USER     the ordinary user (default zorcheck, made when missing)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 OUTPUT_FOLDER [--no-build] [--keep]" >&2; exit 2; }
out=$(mkdir -p "$1" && cd "$1" && pwd)
shift
build=1 keep=0
for option in "$@"; do
  case $option in
    --no-build) build=0 ;;
    --keep) keep=1 ;;
    *) echo "unknown option $option" >&2; exit 2 ;;
  esac
done
display=:${ZOR_CHECK_DISPLAY:-71}
user=${ZOR_CHECK_USER:-zorcheck}

"$root/scripts/install-missing.sh" lintian desktop-file-utils appstream xvfb imagemagick

version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
deb=$out/zor_${version}_$(dpkg --print-architecture).deb
if [ $build = 1 ]; then bash "$root/scripts/build-deb.sh" "$out"; fi
[ -f "$deb" ] || { echo "no package $deb" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=''
zor_pid=''
cleanup() {
  [ -n "$zor_pid" ] && kill "$zor_pid" 2> /dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
check() { if "$@"; then echo "  ok: $*"; else echo "  FAILED: $*"; failures=$((failures + 1)); fi; }

echo "== package $deb"
echo "installed size: $(dpkg-deb -f "$deb" Installed-Size) KiB; package file: $(du -k "$deb" | cut -f1) KiB"
echo "depends: $(dpkg-deb -f "$deb" Depends)"
echo "recommends: $(dpkg-deb -f "$deb" Recommends)"

echo "== lintian"
lintian --no-tag-display-limit "$deb" > "$out/lintian.txt" 2>&1 || true
cat "$out/lintian.txt"
for level in E W I P; do
  echo "lintian $level: $(grep -c "^$level: " "$out/lintian.txt" || true)"
done
check test "$(grep -c '^E: ' "$out/lintian.txt" || true)" = 0

echo "== desktop entry and metainfo"
dpkg-deb -x "$deb" "$work/extract"
check desktop-file-validate "$work/extract/usr/share/applications/nl.zor.Zor.desktop"
check appstreamcli validate --no-net "$work/extract/usr/share/metainfo/nl.zor.Zor.metainfo.xml"

echo "== install"
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$deb" > "$work/apt.log" 2>&1 || { cat "$work/apt.log"; exit 1; }
check test -x /usr/bin/zor
check test -d /usr/share/zor/Graphics
check man -w zor-tool
id "$user" > /dev/null 2>&1 || useradd -m -s /bin/bash "$user"
home=$(getent passwd "$user" | cut -d: -f6)

echo "== start as $user from the desktop entry"
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/nl.zor.Zor.desktop | head -n 1 | sed 's/ %[fFuUik]//g')
echo "Exec: $exec_line"
if [ -e "/tmp/.X11-unix/X${display#:}" ]; then echo "display $display is in use" >&2; exit 1; fi
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
chmod 711 "$work"
mkdir -m 700 "$work/user"
chown "$user" "$work/user"
layout=$work/user/layout.txt
runuser -u "$user" -- env -i "HOME=$home" "USER=$user" "LOGNAME=$user" PATH=/usr/local/bin:/usr/bin:/bin \
  "DISPLAY=$display" "XDG_RUNTIME_DIR=$work/user" LANG=C.UTF-8 "ZOR_LAYOUT_FILE=$layout" \
  sh -c "exec $exec_line" > "$out/zor.log" 2>&1 &
zor_pid=$!
menu_shown() {
  [ -f "$layout" ] && awk -F'\t' '$1 == "screen" && $2 == "ZORMAINForm" && $7 == 255 { f = 1 } END { exit !f }' "$layout"
}
deadline=$((SECONDS + 60))
until menu_shown; do
  kill -0 "$zor_pid" 2> /dev/null || break
  [ $SECONDS -lt $deadline ] || break
  sleep 0.2
done
check menu_shown
sleep 1
DISPLAY=$display import -window root "$out/main-menu.png"
echo "screenshot: $out/main-menu.png"
settings=$home/.config/zor/settings.ini
check test -f "$settings"
data='' reports=''
if [ -f "$settings" ]; then
  tr -d '\r' < "$settings" | sed 's/^/  settings: /'
  data=$(sed -n 's/^datapath=//p' "$settings" | tr -d '\r')
  reports=$(sed -n 's/^trpath=//p' "$settings" | tr -d '\r')
fi
check test "$(stat -c %a "$settings")" = 600
check test "$(stat -c %a "$data/Incomplete afnames")" = 700
check test "$(stat -c %a "$reports/PDF")" = 700
# Asked to stop, as at logging out: the program itself (runuser's child) gets
# SIGTERM, and runuser passes on its exit status.
program_pid=$(ps -o pid= --ppid "$zor_pid" | head -n 1 | tr -d ' ')
kill -TERM "${program_pid:-$zor_pid}"
status=0
wait "$zor_pid" || status=$?
zor_pid=
check test "$status" = 0

if [ $keep = 1 ]; then
  echo "== kept: the package stays installed, user $user stays"
else
  echo "== remove"
  apt-get remove -y -qq zor > "$work/apt.log" 2>&1 || { cat "$work/apt.log"; exit 1; }
  check test ! -e /usr/bin/zor
  check test -f "$settings"
  check test -d "$data/Data"
  check test -d "$reports/PDF"
fi
echo "== $failures failed checks"
[ $failures = 0 ]
