#!/bin/sh
# Builds velmora_replay for 64-bit Arm Linux into build-arm64/, which replays the plays
# under qemu-user (tests/replay/on_every_platform.sh). GCC fuses multiply-adds there by
# default: a float step built without -ffp-contract=off shows on this build first.
#
# Everything comes from Debian: the cross compiler and qemu-user as packages, the libraries
# the game links as their arm64 packages (multiarch). The data is made by a native assetgen.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-arm64
jobs=${JOBS:-2}
. "$root/scripts/debian-sources.sh"

install_tools() {
    missing=""
    command -v aarch64-linux-gnu-g++ >/dev/null || missing="$missing g++-aarch64-linux-gnu"
    command -v qemu-aarch64 >/dev/null || missing="$missing qemu-user"
    command -v ninja >/dev/null || missing="$missing ninja-build"
    for library in sdl2=libsdl2-dev epoxy=libepoxy-dev openal=libopenal-dev assimp=libassimp-dev stb=libstb-dev \
        zlib=zlib1g-dev x11=libx11-dev; do
        [ -f "/usr/lib/aarch64-linux-gnu/pkgconfig/${library%%=*}.pc" ] || missing="$missing ${library#*=}:arm64"
    done
    case $missing in *:arm64*) as_root dpkg --add-architecture arm64 ;; esac
    # shellcheck disable=SC2086
    install_missing $missing
}

build_game() {
    # shellcheck disable=SC2046
    cmake -S "$root" -B "$out/obj" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-aarch64-linux-gnu.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF -DVELMORA_BENCH=OFF -DVELMORA_DATA_FROM="$native/game/data" \
        $(launchers) >/dev/null
    cmake --build "$out/obj" -j"$jobs" --target velmora_replay
    # It runs in the game's folder, obj/game, beside the data and the effect file.
    cp "$out/obj/tools/replay/velmora_replay" "$out/"
}

install_tools
build_data velmora_data
build_game
echo "build-arm64/velmora_replay is ready: cd build-arm64/obj/game && qemu-aarch64 ../../velmora_replay PLAY"
