#!/usr/bin/env bash
# Fuzzes the report file loader (with page fetching and rewriting) and the EMF
# reader with libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer.
#   bash bench/pagestore_fuzz.sh [seconds]      (default 600)
# Needs clang (Debian: clang-14, libclang-rt-14-dev). Crashing inputs land in
# build-fuzz/crashes/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
out="$root/build-fuzz"
mkdir -p "$out/corpus" "$out/crashes"

sources=("$root"/bench/pagestore_fuzz.cpp "$root"/src/emf/*.cpp "$root"/src/pagestore/*.cpp
         "$root"/src/fonts/*.cpp "$root"/src/text/*.cpp)
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root/src" $(pkg-config --cflags freetype2 fontconfig) "${sources[@]}" \
  $(pkg-config --libs freetype2 fontconfig) -o "$out/pagestore_fuzz"

# Seeds: a report file of this store and pictures of another program.
cp "$root"/tests/data/pagestore/*.zrp "$root"/tests/data/emf/*.emf "$out/corpus/" 2>/dev/null || true

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export LSAN_OPTIONS=suppressions="$root/scripts/lsan.supp"
"$out/pagestore_fuzz" "$out/corpus" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=1024 \
  -malloc_limit_mb=256 -artifact_prefix="$out/crashes/" -print_final_stats=1
