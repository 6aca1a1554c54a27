#!/bin/sh
# Builds the Debian package: a Release build of the program and the simulator
# in build-package/ (no tests, no benchmarks), then cpack's DEB generator.
# The package lands in build-package/cellvane_<version>_<arch>.deb; check it
# with lintian and install it with: sudo apt install ./build-package/cellvane_*.deb
set -e
cd "$(dirname "$0")/.."
sh tools/deps.sh
export CCACHE_BASEDIR="$(pwd)"
# Debian's hardening flags, as a package built by dpkg-buildpackage gets them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCELLVANE_TESTS=OFF -DCELLVANE_BENCHMARKS=OFF -DCELLVANE_SANITIZE=OFF \
    "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"
cmake --build build-package -j "$(nproc)"
(cd build-package && cpack -G DEB)
ls -l build-package/cellvane_*.deb
