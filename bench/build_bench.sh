# shellcheck shell=bash
# Sourced by the benchmark scripts: builds the named targets in the release
# benchmark build and sets $build to its folder ($ZOR_BENCH_BUILD or
# build-bench beside the sources). Needs $root, the source folder.
build_bench_targets() {
  build="${ZOR_BENCH_BUILD:-$root/build-bench}"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZOR_BUILD_TESTS=OFF \
    -DZOR_BUILD_BENCH=ON > /dev/null
  cmake --build "$build" -j 2 --target "$@" > /dev/null
}
