#!/usr/bin/env bash
# PDF export of the one-page report compared with the other ways to the same PDF:
#   own     the program's replay of the page image and PDF writer (pdf_export_bench)
#   qt      Qt's PDF writer (QPdfWriter) drawn by the program's EMF player
#   inkscape / libreoffice   converting the page, saved as an EMF file, on the command line
# Prints a table of median times over several runs, the ratio to the own export and the file
# sizes, and leaves the PDF files in build-bench/pdf-compare/ for a look. Installs inkscape and
# LibreOffice Draw when missing. Release build, goal for the own export: under 10 ms.
# Usage: bench/pdf_bench.sh [tool runs]   (default 7; build folder: $ZOR_BENCH_BUILD or build-bench)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${ZOR_BENCH_BUILD:-$root/build-bench}"
runs=${1:-7}

missing=()
command -v inkscape > /dev/null || missing+=(inkscape)
command -v soffice > /dev/null || missing+=(libreoffice-draw-nogui)
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZOR_BUILD_TESTS=OFF \
  -DZOR_BUILD_BENCH=ON > /dev/null
cmake --build "$build" -j 2 --target pdf_export_bench pdf_qt_writer_bench > /dev/null

out="$build/pdf-compare"
rm -rf "$out"
mkdir -p "$out/inkscape" "$out/libreoffice"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

own=$("$build/bin/pdf_export_bench" 200 "$out/own.pdf" "$out/report.emf")
echo "$own"
own_ms=$(sed -n 's/^export: *median \([0-9.]*\) ms.*/\1/p' <<< "$own")
qt=$(QT_QPA_PLATFORM=offscreen "$build/bin/pdf_qt_writer_bench" 50 "$out/report.emf" "$out/qt.pdf")
echo "$qt"
qt_ms=$(sed -n 's/^Qt writer: *median \([0-9.]*\) ms.*/\1/p' <<< "$qt")

# The median wall time in milliseconds of running the command line $runs times.
median_ms() {
  local times=() start end
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    "$@" > "$work/tool.log" 2>&1 || { cat "$work/tool.log" >&2; echo failed; return; }
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { printf "%.1f", t[int((NR + 1) / 2)] / 1000 }'
}

ink_ms=$(median_ms inkscape "$out/report.emf" --export-type=pdf \
  --export-filename="$out/inkscape/report.pdf")
# LibreOffice with its own fresh profile, as a user's first conversion would not have one either;
# the profile is made once before timing.
profile="file://$work/lo-profile"
soffice -env:UserInstallation="$profile" --headless --convert-to pdf --outdir "$out/libreoffice" \
  "$out/report.emf" > /dev/null 2>&1 || true
lo_ms=$(median_ms soffice -env:UserInstallation="$profile" --headless --convert-to pdf \
  --outdir "$out/libreoffice" "$out/report.emf")

size() { if [[ -f $1 ]]; then stat -c %s "$1"; else echo "-"; fi; }
ratio() { if [[ $1 == failed ]]; then echo "-"; else awk -v t="$1" -v o="$own_ms" 'BEGIN { printf "%.1f", t / o }'; fi; }

echo
printf '%-36s %12s %10s %12s\n' "way to the PDF" "median (ms)" "x own" "size (bytes)"
printf '%-36s %12s %10s %12s\n' "own replay + writer" "$own_ms" "1.0" "$(size "$out/own.pdf")"
printf '%-36s %12s %10s %12s\n' "QPdfWriter + own EMF player" "$qt_ms" "$(ratio "$qt_ms")" "$(size "$out/qt.pdf")"
printf '%-36s %12s %10s %12s\n' "inkscape --export-type=pdf" "$ink_ms" "$(ratio "$ink_ms")" "$(size "$out/inkscape/report.pdf")"
printf '%-36s %12s %10s %12s\n' "soffice --headless --convert-to pdf" "$lo_ms" "$(ratio "$lo_ms")" "$(size "$out/libreoffice/report.pdf")"
echo "(page image $(size "$out/report.emf") bytes; inkscape and soffice: $runs runs each, whole process)"
