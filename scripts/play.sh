#!/bin/sh
# For players: installs what is missing, builds the game and its data (nothing else) and
# starts it. Options are the game's own (./scripts/play.sh --help).
set -e
cd "$(dirname "$0")/.."
./scripts/setup.sh play
# A fresh tree is configured for the game alone, without debug information (an eighth
# less compiling); a developer's existing build/ is kept as it is configured.
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF -DVELMORA_BENCH=OFF
cmake --build build -j"$(nproc)" --target velmora
exec build/game/velmora "$@"
