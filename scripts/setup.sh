#!/bin/sh
# Installs what Velmora needs on Debian 12: `setup.sh play` only what building and
# running the game needs; `setup.sh` (for developers) also the tests, benchmarks,
# sanitizer and Windows builds and the package checks.
set -e
PACKAGES="build-essential cmake pkg-config
 libsdl2-dev libepoxy-dev libopenal-dev libassimp-dev libstb-dev zlib1g-dev
 fonts-dejavu-core fonts-ipafont-gothic libgl1-mesa-dri"
if [ "${1:-}" != play ]; then
  PACKAGES="$PACKAGES git googletest libgtest-dev libgmock-dev libbenchmark-dev
 xvfb xauth xfonts-base xdotool x11-utils x11-xkb-utils imagemagick sox
 g++-mingw-w64-x86-64 clang libclang-rt-14-dev
 lintian appstream desktop-file-utils"
fi
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
. "$(dirname "$0")/debian-sources.sh"
# shellcheck disable=SC2086
install_missing $missing
