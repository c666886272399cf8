#!/usr/bin/env bash
# The installation step: creates the data folder (with "Data" and
# "Incomplete afnames") and the report folder (with "PDF"), and writes the
# settings "datapath" and "trpath" when they are absent. The program itself
# only reads these settings and creates no folders.
set -euo pipefail

settings=${ZOR_SETTINGS_FILE:-${XDG_CONFIG_HOME:-$HOME/.config}/zor/settings.ini}
section='[HKEY_LOCAL_MACHINE\SOFTWARE\Lomba\ZOR\SETTINGS]'
data=${ZOR_DATA_DIR:-$HOME/ZOR/Data}
reports=${ZOR_REPORT_DIR:-$HOME/ZOR/Testrapporten}

value_of() { [ -f "$settings" ] && sed -n "s/^$1=//p" "$settings" | tail -n 1; }

mkdir -p "$(dirname "$settings")"
[ -f "$settings" ] || printf '%s\r\n' "$section" > "$settings"
grep -qF "$section" "$settings" || printf '%s\r\n' "$section" >> "$settings"

current=$(value_of datapath || true)
if [ -z "$current" ]; then
  printf 'datapath=%s\r\n' "$data" >> "$settings"
  current=$data
fi
current=${current%$'\r'}
mkdir -p "$current/Data" "$current/Incomplete afnames"

current=$(value_of trpath || true)
if [ -z "$current" ]; then
  printf 'trpath=%s\r\n' "$reports" >> "$settings"
  current=$reports
fi
current=${current%$'\r'}
mkdir -p "$current/PDF"
echo "Settings: $settings"
