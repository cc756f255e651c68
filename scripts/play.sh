#!/bin/sh
# Builds Velmora if needed and starts it from its run directory (it reads data/ and
# Shader/ relative to the working directory).
set -e
cd "$(dirname "$0")/.."
./scripts/build.sh
cd build/game
exec ./velmora
