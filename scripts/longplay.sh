#!/bin/sh
# One hour of game time (225000 frames of 16 ms) played headless with random input in the
# sanitizer build (AddressSanitizer, UndefinedBehaviorSanitizer, LeakSanitizer at exit).
# Prints the dragonflies alive and the resident memory at the end. Not part of CI: it
# takes long.   scripts/longplay.sh [frames] [seed]
set -e
cd "$(dirname "$0")/.."
FRAMES="${1:-225000}"
SEED="${2:-1}"
if ! command -v clang++ >/dev/null 2>&1; then
  echo "clang++ not found: the long play needs the sanitizer build"
  exit 1
fi
CC=clang CXX=clang++ cmake -S . -B build-san -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON -DVELMORA_BENCH=OFF
cmake --build build-san -j2 --target velmora_data velmora_shader longplay
cd build-san/game
start=$(date +%s)
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ../tests/robustness/longplay "$FRAMES" "$SEED"
echo "wall time: $(( $(date +%s) - start )) s"
