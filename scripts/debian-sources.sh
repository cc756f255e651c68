# Shared by scripts/web.sh and scripts/windows.sh: Debian's source packages, unpacked into
# the cache, the prefix of libraries built from them for the cross target, and the native
# build that makes the game's data. scripts/setup.sh uses only install_missing;
# scripts/arm64.sh, whose libraries are Debian's own arm64 packages, uses it and build_data.
#
# The cross scripts set root, cache, prefix, sources, out, jobs, the cross tools cc and ar,
# and what differs between their targets:
#   libraries          the prefix's libraries in build order, each made by its build_<name>
#   cross_cmake        a function: source build-folder options... configures one CMake
#                      project for the target, builds it and installs it into the prefix
#   cross_cxx_flags    what every C++ file of the target needs besides the prefix's headers

as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {  # Debian packages, when any is named
    if [ -n "$*" ]; then
        as_root apt-get update -q
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@"
    fi
}

# apt-get source needs the distribution's source lists. A package bookworm's mirror does
# not serve (OpenAL Soft) comes from trixie's, read through lists of our own so that the
# system's apt never sees trixie.
enable_sources() {
    if ! apt-get source --print-uris -q libsdl2 >/dev/null 2>&1; then
        printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm bookworm-updates' \
            'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
            as_root tee /etc/apt/sources.list.d/velmora-debian-src.sources >/dev/null
        as_root apt-get update -q
    fi
}

trixie_apt() {
    mkdir -p "$cache/apt/lists/partial" "$cache/apt/archives/partial"
    echo 'deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian trixie main' \
        >"$cache/apt/trixie.list"
    apt-get -q -o Dir::Etc::SourceList="$cache/apt/trixie.list" -o Dir::Etc::SourceParts=/dev/null \
        -o Dir::State::Lists="$cache/apt/lists" -o Dir::Cache="$cache/apt" -o Debug::NoLocking=1 "$@"
}

# The package's source, unpacked: Debian's whole source package where the mirror serves
# it, else the upstream tarball it is made from (some mirrors serve only that).
source_folder() {  # package [trixie] -> its unpacked source folder
    mkdir -p "$sources"
    if ! (cd "$sources" && ls -d "$1"-*/ >/dev/null 2>&1); then
        if [ "${2:-}" = trixie ]; then
            trixie_apt update >/dev/null
            (cd "$sources" && trixie_apt source --download-only "$1" >/dev/null 2>&1) || true
        else
            (cd "$sources" && apt-get source -q --download-only "$1" >/dev/null 2>&1) || true
        fi
        (cd "$sources" && if ls ./"$1"_*.dsc ./"$1"_*.debian.tar.* >/dev/null 2>&1; then
            dpkg-source -x ./"$1"_*.dsc >/dev/null
        else
            tar xf ./"$1"_*.orig.tar.*
        fi)
    fi
    echo "$sources/$(cd "$sources" && ls -d "$1"-*/ | head -n 1)"
}

# minizip lives in zlib's contrib folder; assimp finds it through pkg-config.
build_minizip() {
    src=$(source_folder zlib)/contrib/minizip
    work=$cache/build-minizip
    mkdir -p "$work" "$prefix/include/minizip" "$prefix/lib/pkgconfig"
    for file in ioapi unzip zip; do
        $cc -O2 -I"$prefix/include" -DUSE_FILE32API -c "$src/$file.c" -o "$work/$file.o"
    done
    $ar rcs "$prefix/lib/libminizip.a" "$work"/ioapi.o "$work"/unzip.o "$work"/zip.o
    cp "$src"/ioapi.h "$src"/unzip.h "$src"/zip.h "$src"/crypt.h "$prefix/include/minizip/"
    printf '%s\n' "prefix=$prefix" 'Name: minizip' 'Description: zip files' 'Version: 1.2.13' 'Requires: zlib' \
        'Libs: -L${prefix}/lib -lminizip' 'Cflags: -I${prefix}/include/minizip' >"$prefix/lib/pkgconfig/minizip.pc"
}

# Debian's libstb is a shared library for Linux; the two parts the game uses are built here.
build_stb() {
    mkdir -p "$prefix/include/stb" "$cache/build-stb"
    cp /usr/include/stb/*.h "$prefix/include/stb/"
    printf '%s\n' '#define STB_IMAGE_IMPLEMENTATION' '#include <stb_image.h>' \
        '#define STB_IMAGE_WRITE_IMPLEMENTATION' '#include <stb_image_write.h>' >"$cache/build-stb/stb.c"
    $cc -O2 -I"$prefix/include/stb" -c "$cache/build-stb/stb.c" -o "$cache/build-stb/stb.o"
    $ar rcs "$prefix/lib/libstb.a" "$cache/build-stb/stb.o"
}

# Only the .x importer; Debian's patches want the system's utf8cpp, stb and draco: the
# headers are copied into the prefix, and draco (glTF only) is an empty package.
build_assimp() {
    src=$(source_folder assimp)
    mkdir -p "$prefix/lib/cmake/draco"
    cp /usr/include/utf8cpp/utf8.h "$prefix/include/"
    cp -r /usr/include/utf8cpp/utf8 "$prefix/include/"
    echo 'set(DRACO_LIBRARIES "")' >"$prefix/lib/cmake/draco/dracoConfig.cmake"
    PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig cross_cmake "$src" "$cache/build-assimp" \
        -DCMAKE_CXX_FLAGS="${cross_cxx_flags:+$cross_cxx_flags }-I$prefix/include" -DCMAKE_C_FLAGS="-I$prefix/include" \
        -DBUILD_SHARED_LIBS=OFF -DASSIMP_BUILD_ZLIB=OFF -DASSIMP_BUILD_ALL_IMPORTERS_BY_DEFAULT=OFF \
        -DASSIMP_BUILD_X_IMPORTER=ON -DASSIMP_BUILD_ALL_EXPORTERS_BY_DEFAULT=OFF -DASSIMP_NO_EXPORT=ON \
        -DASSIMP_BUILD_TESTS=OFF -DASSIMP_BUILD_ASSIMP_TOOLS=OFF -DASSIMP_BUILD_SAMPLES=OFF \
        -DASSIMP_WARNINGS_AS_ERRORS=OFF -DASSIMP_INSTALL_PDB=OFF -DASSIMP_BUILD_DRACO=OFF
}

# Each library is built once; its stamp in the prefix says it is there.
build_prefix() {
    mkdir -p "$prefix"
    for library in $libraries; do
        [ -f "$prefix/.built-$library" ] && continue
        enable_sources
        echo "building $library into $prefix"
        "build_$library"
        touch "$prefix/.built-$library"
    done
}

# The data (and the icon) come from a native build: the developer's (build/) when there
# is one, else a small build of its own beside the cross build.
build_data() {  # native targets...
    native=$root/build
    if [ ! -f "$native/CMakeCache.txt" ]; then
        native=$out/obj-host
        # The host's own compilers, not the cross ones a caller may have exported.
        # shellcheck disable=SC2046
        env -u CC -u CXX cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF \
            -DVELMORA_BENCH=OFF $(launchers) >/dev/null
    fi
    cmake --build "$native" -j"$jobs" --target "$@"
}

launchers() {
    if command -v ccache >/dev/null; then
        echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
    fi
}

