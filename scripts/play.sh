#!/bin/sh
# For players: installs what is missing, builds the game and its data (nothing else) and
# starts it. Options are the game's own (./scripts/play.sh --help).
set -e
cd "$(dirname "$0")/.."
./scripts/setup.sh play
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_TESTS=OFF -DVELMORA_BENCH=OFF
cmake --build build -j"$(nproc)" --target velmora
exec build/game/velmora "$@"
