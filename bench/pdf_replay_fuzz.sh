#!/usr/bin/env bash
# Fuzzes the replay of page images into PDF pages (and the writing of the document)
# with libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer.
#   bash bench/pdf_replay_fuzz.sh [seconds]      (default 600)
# Seeds: report pages written by pdf_report_pages (release build in $ZOR_BENCH_BUILD
# or build-bench), the sample picture of tests/data/emf, and the corpus of earlier
# runs. Needs clang (Debian: clang-14, libclang-rt-14-dev). Crashing inputs land in
# build-fuzz/pdf-crashes/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
out="$root/build-fuzz"
mkdir -p "$out/pdf-corpus" "$out/pdf-crashes"

source "$root/bench/build_bench.sh"
build_bench_targets pdf_report_pages
"$build/bin/pdf_report_pages" "$out/pdf-seeds"

sources=("$root"/bench/pdf_replay_fuzz.cpp "$root"/src/pdf/*.cpp "$root"/src/emf/*.cpp
         "$root"/src/files/*.cpp "$root"/src/fonts/*.cpp "$root"/src/text/*.cpp)
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root/src" $(pkg-config --cflags freetype2 fontconfig zlib libjpeg) "${sources[@]}" \
  $(pkg-config --libs freetype2 fontconfig zlib libjpeg) -o "$out/pdf_replay_fuzz"

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
"$out/pdf_replay_fuzz" "$out/pdf-corpus" "$out/pdf-seeds" "$root/tests/data/emf" \
  -max_total_time="$seconds" -max_len=1048576 -rss_limit_mb=2048 -malloc_limit_mb=512 \
  -artifact_prefix="$out/pdf-crashes/" -print_final_stats=1
