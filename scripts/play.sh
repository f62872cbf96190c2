#!/bin/sh
# Installs what is missing, builds, and plays the production from build/data.
set -e
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
cd build/data
exec ../obelisk "$@"
