# The 64-bit Windows build (mingw-w64, windows/toolchain-x86_64-w64-mingw32.cmake): the same
# game and platform layer as on Linux, over SDL2, libepoxy, OpenAL Soft, assimp, zlib and
# stb cross-built into VELMORA_WINDOWS_PREFIX by scripts/windows.sh, which also packs it.
set(VELMORA_WINDOWS_PREFIX "" CACHE PATH "Libraries built for Windows by scripts/windows.sh")
set(VELMORA_WINDOWS_DATA "" CACHE PATH "The generated data folder, made by a native assetgen")
set(VELMORA_WINDOWS_ICON "" CACHE FILEPATH "The program's icon (.ico), painted by a native build")
if(NOT VELMORA_WINDOWS_PREFIX OR NOT VELMORA_WINDOWS_DATA)
  message(FATAL_ERROR "The Windows build needs VELMORA_WINDOWS_PREFIX and VELMORA_WINDOWS_DATA; scripts/windows.sh sets them")
endif()

# The libraries under the names the desktop's pkg-config gives them, so that the platform
# folders link the same targets on every build. SDL2 is linked in with the system
# libraries it calls; the layer has its own main(), SDL's is not wanted.
set(prefix ${VELMORA_WINDOWS_PREFIX})
add_library(PkgConfig::SDL2 INTERFACE IMPORTED)
target_include_directories(PkgConfig::SDL2 INTERFACE ${prefix}/include/SDL2)
target_compile_definitions(PkgConfig::SDL2 INTERFACE SDL_MAIN_HANDLED)
target_link_libraries(PkgConfig::SDL2 INTERFACE ${prefix}/lib/libSDL2.a
  user32 gdi32 winmm imm32 ole32 oleaut32 version uuid advapi32 setupapi shell32 dinput8)
add_library(PkgConfig::EPOXY INTERFACE IMPORTED)
target_include_directories(PkgConfig::EPOXY INTERFACE ${prefix}/include)
target_link_libraries(PkgConfig::EPOXY INTERFACE ${prefix}/lib/libepoxy.dll.a)
# OpenAL32.dll's import library goes before winmm, which SDL's list brings later.
add_library(PkgConfig::OPENAL INTERFACE IMPORTED)
target_include_directories(PkgConfig::OPENAL INTERFACE ${prefix}/include)
target_link_libraries(PkgConfig::OPENAL INTERFACE ${prefix}/lib/libOpenAL32.dll.a winmm)
include(${CMAKE_CURRENT_LIST_DIR}/PrefixLibraries.cmake)

# The C and C++ runtimes are linked in: the folder needs no mingw DLL beside the game.
add_link_options(-static)

set(VELMORA_RUN_DIR ${CMAKE_BINARY_DIR}/game)
file(MAKE_DIRECTORY ${VELMORA_RUN_DIR})
add_subdirectory(src/platform)
add_subdirectory(src)
add_subdirectory(tools/replay)

add_custom_target(velmora_data
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${VELMORA_WINDOWS_DATA} ${VELMORA_RUN_DIR}/data)

# A GUI program (no console window) with its manifest and icon.
set(VELMORA_MANIFEST ${CMAKE_SOURCE_DIR}/windows/velmora.exe.manifest)
set(VELMORA_ICON_RESOURCE "")
if(VELMORA_WINDOWS_ICON)
  set(VELMORA_ICON_RESOURCE "1 ICON \"${VELMORA_WINDOWS_ICON}\"")
endif()
configure_file(${CMAKE_SOURCE_DIR}/windows/velmora.rc.in ${CMAKE_BINARY_DIR}/velmora.rc @ONLY)
set_target_properties(velmora PROPERTIES WIN32_EXECUTABLE ON)
target_sources(velmora PRIVATE ${CMAKE_BINARY_DIR}/velmora.rc)
