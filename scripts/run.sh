#!/usr/bin/env bash
# Installs what is missing, builds the program in release mode and starts it
# (its first start makes the data and report folders and the two settings).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"

build="$root/build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZOR_BUILD_TESTS=OFF
cmake --build "$build" -j "$(nproc)" --target zor

exec "$build/bin/zor" "$@"
