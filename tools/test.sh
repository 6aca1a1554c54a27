#!/bin/sh
# Installs what is missing, builds and runs every test. The test build is
# instrumented: AddressSanitizer everywhere, UndefinedBehaviorSanitizer in the
# program's own libraries, Qt's debug assertions on, lightly optimised (-O1) so
# that the whole suite builds and runs in a few minutes on two cores.
set -e
cd "$(dirname "$0")/.."
sh tools/deps.sh
# Lets clones in other folders share the compiler cache.
export CCACHE_BASEDIR="$(pwd)"
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" \
    -DCELLVANE_SANITIZE=ON
cmake --build build-test -j "$(nproc)"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-test -j "$(nproc)" --output-on-failure
