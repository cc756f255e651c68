#!/bin/sh
# Builds Velmora for 64-bit Windows into build-windows/ and packs Velmora-windows-x64.zip:
# velmora.exe on the same platform layer as Linux, the DLLs it needs that Windows lacks,
# the generated data, the effect file and a README.
#
# Everything comes from Debian: mingw-w64 and Wine as packages; SDL2, zlib, minizip, stb,
# libepoxy, OpenAL Soft and assimp cross-compiled from their source packages into a prefix
# that is built once and kept in the cache folder. The data is made by a native assetgen.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${VELMORA_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmora-windows}
prefix=$cache/prefix
sources=$cache/src
out=$root/build-windows
jobs=${JOBS:-2}
host=x86_64-w64-mingw32
toolchain=$root/windows/toolchain-$host.cmake
# The posix flavour of the compilers: their C++ library has std::thread.
export CC=$host-gcc-posix CXX=$host-g++-posix
cc=$CC
ar=$host-ar
libraries="sdl2 zlib minizip stb epoxy openal assimp"
cross_cxx_flags=
. "$root/scripts/debian-sources.sh"

install_tools() {
    missing=""
    command -v $CXX >/dev/null || missing="$missing g++-mingw-w64-x86-64-posix"
    command -v wine64 >/dev/null || [ -x /usr/lib/wine/wine64 ] || missing="$missing wine64"
    command -v meson >/dev/null || missing="$missing meson"
    command -v ninja >/dev/null || missing="$missing ninja-build"
    command -v dpkg-source >/dev/null || missing="$missing dpkg-dev"
    command -v zip >/dev/null || missing="$missing zip"
    [ -f /usr/include/utf8cpp/utf8.h ] || missing="$missing libutfcpp-dev"
    [ -f /usr/include/stb/stb_image.h ] || missing="$missing libstb-dev"
    # shellcheck disable=SC2086
    install_missing $missing
}

cross_cmake() {  # source build-folder options...
    src=$1 work=$2
    shift 2
    cmake -S "$src" -B "$work" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVELMORA_WINDOWS_PREFIX="$prefix" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" "$@" >/dev/null
    cmake --build "$work" -j"$jobs"
    cmake --install "$work" >/dev/null
}

# SDL2 is linked in (zlib licence); its main() wrapper is not used: the layer has its own.
build_sdl2() {
    cross_cmake "$(source_folder libsdl2)" "$cache/build-sdl2" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
        -DSDL_STATIC_PIC=OFF
}

# Debian's zlib source has no Windows makefile: its library is its C files.
build_zlib() {
    src=$(source_folder zlib)
    work=$cache/build-zlib
    mkdir -p "$work" "$prefix/include" "$prefix/lib"
    for file in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees \
        trees uncompr zutil; do
        $cc -O2 -c "$src/$file.c" -o "$work/$file.o"
    done
    $ar rcs "$prefix/lib/libz.a" "$work"/*.o
    cp "$src"/zlib.h "$src"/zconf.h "$prefix/include/"
    mkdir -p "$prefix/lib/pkgconfig"
    printf '%s\n' "prefix=$prefix" 'Name: zlib' 'Description: zlib' 'Version: 1.2.13' \
        'Libs: -L${prefix}/lib -lz' 'Cflags: -I${prefix}/include' >"$prefix/lib/pkgconfig/zlib.pc"
}

# libepoxy as a DLL: it sets itself up in DllMain, which runs only in a DLL.
build_epoxy() {
    src=$(source_folder libepoxy)
    printf '%s\n' '[binaries]' "c = '$CC'" "ar = '$host-ar'" "strip = '$host-strip'" "windres = '$host-windres'" \
        '[built-in options]' "c_link_args = ['-static-libgcc']" \
        '[host_machine]' "system = 'windows'" "cpu_family = 'x86_64'" "cpu = 'x86_64'" "endian = 'little'" \
        >"$cache/meson-cross.txt"
    rm -rf "$cache/build-epoxy"
    meson setup "$cache/build-epoxy" "$src" --cross-file "$cache/meson-cross.txt" --prefix "$prefix" \
        --buildtype release -Ddefault_library=shared -Dtests=false -Degl=no -Dglx=no -Dx11=false >/dev/null
    meson compile -C "$cache/build-epoxy" -j "$jobs" >/dev/null
    meson install -C "$cache/build-epoxy" >/dev/null
}

# OpenAL Soft is LGPL: it ships as OpenAL32.dll beside the game, with the C++ runtime
# linked into it. GCC 12 needs -fcommon for its C parts.
build_openal() {
    cross_cmake "$(source_folder openal-soft trixie)" "$cache/build-openal" -DLIBTYPE=SHARED \
        -DALSOFT_UTILS=OFF -DALSOFT_EXAMPLES=OFF -DALSOFT_TESTS=OFF -DALSOFT_INSTALL_CONFIG=OFF \
        -DALSOFT_INSTALL_HRTF_DATA=OFF -DALSOFT_INSTALL_AMBDEC_PRESETS=OFF -DALSOFT_INSTALL_EXAMPLES=OFF \
        -DALSOFT_INSTALL_UTILS=OFF -DALSOFT_BACKEND_PIPEWIRE=OFF -DALSOFT_BACKEND_PORTAUDIO=OFF \
        -DALSOFT_BACKEND_SDL2=OFF -DALSOFT_BACKEND_SNDFILE=OFF -DALSOFT_STATIC_LIBGCC=ON -DALSOFT_STATIC_STDCXX=ON \
        -DALSOFT_STATIC_WINPTHREAD=ON -DCMAKE_C_FLAGS=-fcommon -DCMAKE_CXX_FLAGS=-fcommon
}

build_game() {
    # shellcheck disable=SC2046
    cmake -S "$root" -B "$out/obj" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DVELMORA_TESTS=OFF -DVELMORA_BENCH=OFF -DVELMORA_WINDOWS_PREFIX="$prefix" \
        -DVELMORA_WINDOWS_DATA="$native/game/data" -DVELMORA_WINDOWS_ICON="$native/packaging/velmora.ico" \
        $(launchers) >/dev/null
    cmake --build "$out/obj" -j"$jobs" --target velmora velmora_replay
    # The replayer runs in the game's folder (cd Velmora; wine64 ../velmora_replay.exe FILE),
    # and stays out of the zip.
    cp "$out/obj/tools/replay/velmora_replay.exe" "$out/"
}

# The licence of everything the folder carries besides the game, from the sources it was
# built from.
licences() {
    mkdir -p "$1"
    cp "$(source_folder libsdl2)/LICENSE.txt" "$1/SDL2.txt"
    cp "$(source_folder assimp)/LICENSE" "$1/assimp.txt"
    cp "$(source_folder zlib)/LICENSE" "$1/zlib.txt"
    sed -n '/available under 2 licenses/,$p' /usr/include/stb/stb_image.h >"$1/stb.txt"
    cat /usr/share/doc/gcc-mingw-w64-base/copyright /usr/share/doc/mingw-w64-x86-64-dev/copyright >"$1/mingw-w64.txt"
    cp "$(source_folder openal-soft trixie)/COPYING" "$1/OpenAL-Soft.txt"
    cp "$(source_folder libepoxy)/COPYING" "$1/libepoxy.txt"
}

# Velmora/ in the zip: the game's folder as it runs.
pack() {
    folder=$out/Velmora
    rm -rf "$folder" "$out/Velmora-windows-x64.zip"
    mkdir -p "$folder"
    cp "$out/obj/game/velmora.exe" "$prefix/bin/OpenAL32.dll" "$prefix/bin/libepoxy-0.dll" "$folder/"
    $host-strip "$folder"/*.exe "$folder"/*.dll
    cp -r "$native/game/data" "$root/Shader" "$folder/"
    sed 's/$/\r/' "$root/windows/README.txt" >"$folder/README.txt"
    licences "$folder/licenses"
    (cd "$out" && zip -qr -9 Velmora-windows-x64.zip Velmora)
}

install_tools
build_prefix
build_data velmora_data velmora_packaging_files
build_game
pack
echo "build-windows/Velmora-windows-x64.zip is ready ($(du -h "$out/Velmora-windows-x64.zip" | cut -f1))"
