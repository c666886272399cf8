#!/usr/bin/env bash
# Installs what is missing, builds the program in release mode, prepares the
# data and report folders and the two settings on first use, and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"

build="$root/build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZOR_BUILD_TESTS=OFF
cmake --build "$build" -j "$(nproc)" --target zor

bash "$root/scripts/prepare-folders.sh"
exec "$build/bin/zor" "$@"
