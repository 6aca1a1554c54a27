#!/bin/sh
# Installs what is missing, builds, and runs every test: the whole suite, then
# the core tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -e
cd "$(dirname "$0")/.."
sh tools/deps.sh
JOBS=$(nproc)
# Lets clones in other folders share the compiler cache.
export CCACHE_BASEDIR="$(pwd)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$JOBS"
ctest --test-dir build -j "$JOBS" --output-on-failure
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCELLVANE_SANITIZE=ON \
    -DCELLVANE_GUI=OFF -DCELLVANE_BENCHMARKS=OFF
cmake --build build-asan -j "$JOBS"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan -L core -j "$JOBS" --output-on-failure
