#!/bin/sh
# Second half of the test suite: clang build with AddressSanitizer and
# UndefinedBehaviorSanitizer (and libFuzzer coverage) for the fuzz targets' short runs, the
# plays whose object lifetimes are the trickiest (the Stage ending a play from inside its
# own draw walk, whole games won and lost), the regression plays, every damaged data file
# and the missing devices.
set -e
cd "$(dirname "$0")/.."
if ! command -v clang++ >/dev/null 2>&1; then
  echo "clang++ not found: sanitizer and fuzz runs skipped"
  exit 0
fi
CC=clang CXX=clang++ cmake -S . -B build-san -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON -DVELMORA_BENCH=OFF
cmake --build build-san -j"$(nproc)" --target velmora_data velmora_shader velmora_fuzzers test_game_world test_game_enemy test_robustness test_no_device test_replay_plays
cd build-san
xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" ctest -j"$(nproc)" --output-on-failure --timeout 1800 \
  -R '^(fuzz_|StageTest\.|CameraTest\.|FieldTest\.|SoundTest\.|GameTest\.|NoDevice\.|BrokenData[./]|ReplayPlays\.)' "$@"
