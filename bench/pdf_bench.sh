#!/usr/bin/env bash
# PDF export of the one-page report compared with the other ways to the same PDF:
#   own     the program's replay of the page image and PDF writer (pdf_export_bench)
#   qt      Qt's PDF writer (QPdfWriter) drawn by the program's EMF player
#   inkscape / libreoffice   converting the page, saved as an EMF file, on the command line
# Prints a table of median wall and CPU times over several runs, their ratios to the own export
# and the file sizes, and leaves the PDF files in build-bench/pdf-compare/ for a look: the
# converters' times say nothing of whether they read the page right. Installs inkscape and
# LibreOffice Draw when missing. Release build, goal for the own export: under 10 ms.
# Usage: bench/pdf_bench.sh [tool runs]   (default 7; build folder: $ZOR_BENCH_BUILD or build-bench)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-7}

missing=()
command -v inkscape > /dev/null || missing+=(inkscape)
command -v soffice > /dev/null || missing+=(libreoffice-draw-nogui)
"$root/scripts/install-missing.sh" "${missing[@]}"

source "$root/bench/build_bench.sh"
build_bench_targets pdf_export_bench pdf_qt_writer_bench

out="$build/pdf-compare"
rm -rf "$out"
mkdir -p "$out/inkscape" "$out/libreoffice"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

own=$("$build/bin/pdf_export_bench" 200 "$out/own.pdf" "$out/report.emf")
echo "$own"
qt=$(QT_QPA_PLATFORM=offscreen "$build/bin/pdf_qt_writer_bench" 50 "$out/report.emf" "$out/qt.pdf" 2> /dev/null)
echo "$qt"
# "<wall median> <CPU median>" from a benchmark's timing line.
medians() { sed -n 's/.* median \([0-9.]*\) ms, .* CPU time median \([0-9.]*\) ms.*/\1 \2/p' <<< "$1"; }
read -r own_ms own_cpu <<< "$(medians "$own")"
read -r qt_ms qt_cpu <<< "$(medians "$qt")"

# "<wall median> <CPU median>" in milliseconds of running the command line $runs times; the CPU
# time is the user and system time of the command and every process it waits for.
medians_of() {
  local walls=() cpus=() line
  for _ in $(seq "$runs"); do
    line=$( { TIMEFORMAT='%R %U %S'; time "$@" > "$work/tool.log" 2>&1; } 2>&1 ) ||
      { cat "$work/tool.log" >&2; echo "failed failed"; return; }
    walls+=($(awk '{ printf "%d", $1 * 1000 }' <<< "$line"))
    cpus+=($(awk '{ printf "%d", ($2 + $3) * 1000 }' <<< "$line"))
  done
  local middle=$(((runs + 1) / 2))
  echo "$(printf '%s\n' "${walls[@]}" | sort -n | sed -n "${middle}p")" \
       "$(printf '%s\n' "${cpus[@]}" | sort -n | sed -n "${middle}p")"
}

read -r ink_ms ink_cpu <<< "$(medians_of inkscape "$out/report.emf" --export-type=pdf \
  --export-filename="$out/inkscape/report.pdf")"
# LibreOffice with a profile of its own, made once before timing.
profile="file://$work/lo-profile"
soffice -env:UserInstallation="$profile" --headless --convert-to pdf --outdir "$out/libreoffice" \
  "$out/report.emf" > /dev/null 2>&1 || true
read -r lo_ms lo_cpu <<< "$(medians_of soffice -env:UserInstallation="$profile" --headless \
  --convert-to pdf --outdir "$out/libreoffice" "$out/report.emf")"

size() { if [[ -f $1 ]]; then stat -c %s "$1"; else echo "-"; fi; }
ratio() { if [[ $1 == failed ]]; then echo "-"; else awk -v t="$1" -v o="$2" 'BEGIN { printf "%.1f", t / o }'; fi; }
row() { # name wall cpu file
  printf '%-36s %10s %10s %9s %9s %12s\n' "$1" "$2" "$3" "$(ratio "$2" "$own_ms")" \
    "$(ratio "$3" "$own_cpu")" "$(size "$4")"
}

echo
printf '%-36s %10s %10s %9s %9s %12s\n' "way to the PDF" "wall (ms)" "CPU (ms)" "x own" "x own CPU" "size (bytes)"
row "own replay + writer" "$own_ms" "$own_cpu" "$out/own.pdf"
row "QPdfWriter + own EMF player" "$qt_ms" "$qt_cpu" "$out/qt.pdf"
row "inkscape --export-type=pdf" "$ink_ms" "$ink_cpu" "$out/inkscape/report.pdf"
row "soffice --headless --convert-to pdf" "$lo_ms" "$lo_cpu" "$out/libreoffice/report.pdf"
echo "(medians; page image $(size "$out/report.emf") bytes; own 200 runs and Qt 50 runs in-process;"
echo " inkscape and soffice $runs runs each, whole process with start-up; CPU: user + system time)"
