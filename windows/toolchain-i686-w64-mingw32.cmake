# Cross-compiling for 32-bit Windows with Debian's mingw-w64 (g++-mingw-w64-i686):
#   cmake -S windows -B build-windows -DCMAKE_TOOLCHAIN_FILE=windows/toolchain-i686-w64-mingw32.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(VELMORA_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${VELMORA_MINGW_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW_TRIPLET}-g++)
set(CMAKE_RC_COMPILER ${VELMORA_MINGW_TRIPLET}-windres)

# Headers and import libraries come from the mingw-w64 tree only; build tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VELMORA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
