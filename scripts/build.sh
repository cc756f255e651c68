#!/bin/sh
# Installs what is missing, then configures and builds Velmora into build/.
set -e
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
