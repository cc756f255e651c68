# Cross-compiling for 64-bit Arm Linux with Debian's g++-aarch64-linux-gnu, against the
# arm64 packages that multiarch puts in /usr/lib/aarch64-linux-gnu (scripts/arm64.sh).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# pkg-config reads the arm64 libraries' files and the architecture-free ones, never the host's.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
