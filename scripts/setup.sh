#!/bin/sh
# Installs what Velmora needs to build, test and run on Debian 12.
set -e
PACKAGES="build-essential cmake pkg-config git
 libsdl2-dev libepoxy-dev libopenal-dev libassimp-dev libstb-dev zlib1g-dev
 fonts-dejavu-core googletest libgtest-dev libgmock-dev libbenchmark-dev
 xvfb xauth xfonts-base xdotool x11-utils libgl1-mesa-dri imagemagick sox
 g++-mingw-w64-i686 mingw-w64 clang libclang-rt-14-dev"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi
