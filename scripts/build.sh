#!/bin/sh
# For developers: installs what is missing, then configures and builds everything
# (the game, tests, benchmarks, packaging files) into build/.
set -e
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_TESTS=ON -DVELMORA_BENCH=ON
cmake --build build -j"$(nproc)"
