#!/usr/bin/env bash
# Builds and runs the page-store benchmark with optimisation and no sanitizers:
#   bash bench/pagestore_bench.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build-bench"
mkdir -p "$out"
sources=("$root"/bench/pagestore_bench.cpp "$root"/src/emf/*.cpp "$root"/src/pagestore/*.cpp
         "$root"/src/fonts/*.cpp "$root"/src/text/*.cpp)
g++ -std=c++20 -O2 -DNDEBUG -I"$root/src" $(pkg-config --cflags freetype2 fontconfig) \
  "${sources[@]}" $(pkg-config --libs freetype2 fontconfig) -o "$out/pagestore_bench"
"$out/pagestore_bench"
