#!/usr/bin/env bash
# Fuzzes the reader of stored administrations (file checks, line checks, the two
# files' agreement, the key) and the record filled from what it accepts, with
# libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer.
#   bash bench/stored_administration_fuzz.sh [seconds]      (default 600)
# Needs clang (Debian: clang-14, libclang-rt-14-dev). Crashing inputs land in
# build-fuzz-reader/crashes/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
out="$root/build-fuzz-reader"
mkdir -p "$out/corpus" "$out/crashes"

sources=("$root"/bench/stored_administration_fuzz.cpp "$root"/src/norms/*.cpp "$root"/src/text/*.cpp
         "$root"/src/record/{administration_files,administration_record,calendar,data_line}.cpp
         "$root"/src/record/{key_filters,stored_administration,string_grid,text_fields}.cpp)
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root/src" "${sources[@]}" -o "$out/stored_administration_fuzz"

# Seeds: the stored administrations of the tests, as key, NUL, FW file, NUL, FV file.
seed() {
    local folder=$1 key=$2
    { printf '%s\0' "$key"; cat "$folder/${key}_FW.wda"; printf '\0'; cat "$folder/${key}_FV.vda"; } \
        >"$out/corpus/seed-$(printf '%s' "$key" | tr -c 'A-Za-z0-9_-' '_')"
}
for fw in "$root"/tests/data/correction/*_FW.wda "$root"/tests/data/report/datamap/Data/*_FW.wda; do
    name=$(basename "$fw")
    seed "$(dirname "$fw")" "${name%_FW.wda}"
done

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
"$out/stored_administration_fuzz" "$out/corpus" -max_total_time="$seconds" -max_len=4096 \
  -rss_limit_mb=1024 -artifact_prefix="$out/crashes/" -print_final_stats=1
