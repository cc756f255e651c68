#!/bin/sh
# Builds Velmora and runs every test. Display tests get a virtual X server; a test
# that fails is run once more, since the screenshot plays on a loaded software renderer
# depend on timing.
set -e
cd "$(dirname "$0")/.."
./scripts/build.sh
(cd build && xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure --timeout 900 -j2 --repeat until-pass:2 "$@")
./scripts/sanitize.sh
