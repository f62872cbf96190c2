#!/bin/sh
# Installs what is missing, builds, and runs the whole test suite: once as
# built, once more with ASan + UBSan (without the long picture checks), then
# the loaders' fuzzers for a short time, then the release archive on a
# minimal foreign system (it skips itself without root or the Debian package
# registry), and last the Windows archive under Wine (it skips itself where
# MinGW-w64 or Wine cannot be installed).
set -e
cd "$(dirname "$0")/.."
scripts/deps.sh
JOBS="$(nproc)"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$JOBS"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build --output-on-failure -j"$JOBS"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DOBELISK_SANITIZE=ON -DOBELISK_BENCH=OFF
cmake --build build-asan -j"$JOBS"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build-asan --output-on-failure -j"$JOBS" -LE long

if [ -x scripts/fuzz.sh ]; then scripts/fuzz.sh; fi
scripts/test-release.sh
scripts/test-windows.sh
echo "all tests passed"
