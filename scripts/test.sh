#!/bin/sh
# Builds Velmora and runs every test. Display tests get a virtual X server; the web build
# is played in headless Chromium, the Windows zip under Wine.
set -e
cd "$(dirname "$0")/.."
./scripts/build.sh
(cd build && xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" ctest --output-on-failure --timeout 900 -j2 "$@")
./scripts/sanitize.sh
./scripts/web.sh
tests/web/play_in_browser.sh
./scripts/windows.sh
tests/ship/windows_imports.sh
xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" tests/ship/windows_under_wine.sh
./scripts/arm64.sh
tests/replay/on_every_platform.sh
