# The browser build (emcmake): the same game and platform layer, with WebGL 2 for OpenGL,
# the browser's OpenAL, and SDL2, zlib, minizip and assimp built for the web into a prefix
# by scripts/web.sh. The page's files land in VELMORA_WEB_SITE.
set(VELMORA_WEB_PREFIX "" CACHE PATH "Libraries built for the web by scripts/web.sh")
set(VELMORA_WEB_DATA "" CACHE PATH "The generated data folder, made by a native assetgen")
set(VELMORA_WEB_SITE "${CMAKE_BINARY_DIR}/site" CACHE PATH "Where the page and its files go")
set(VELMORA_WEB_ICONGEN "" CACHE FILEPATH "A native velmora_icongen, which paints the page's icons")
if(NOT VELMORA_WEB_PREFIX OR NOT VELMORA_WEB_DATA OR NOT VELMORA_WEB_ICONGEN)
  message(FATAL_ERROR "The web build needs VELMORA_WEB_PREFIX, VELMORA_WEB_DATA and VELMORA_WEB_ICONGEN; scripts/web.sh sets them")
endif()

# A malformed file throws inside assimp and the game's readers; without exceptions it aborts.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# The libraries under the names the desktop's pkg-config gives them, so that the platform
# folders link the same targets on both builds.
set(prefix ${VELMORA_WEB_PREFIX})
add_library(PkgConfig::SDL2 INTERFACE IMPORTED)
target_include_directories(PkgConfig::SDL2 INTERFACE ${prefix}/include/SDL2)
target_link_libraries(PkgConfig::SDL2 INTERFACE ${prefix}/lib/libSDL2.a)
add_library(PkgConfig::EPOXY INTERFACE IMPORTED)
target_include_directories(PkgConfig::EPOXY INTERFACE ${CMAKE_SOURCE_DIR}/src/platform/d3d9/web)
# The browser's OpenAL headers are in emscripten's system folder, but for the extension
# header, which every user of the output includes.
add_library(PkgConfig::OPENAL INTERFACE IMPORTED)
target_link_libraries(PkgConfig::OPENAL INTERFACE -lopenal)
include_directories(${CMAKE_SOURCE_DIR}/src/platform/dsound/web)
include(${CMAKE_CURRENT_LIST_DIR}/PrefixLibraries.cmake)

set(VELMORA_RUN_DIR ${CMAKE_BINARY_DIR}/game)
file(MAKE_DIRECTORY ${VELMORA_RUN_DIR} ${VELMORA_WEB_SITE})
add_subdirectory(src/platform)
add_subdirectory(src)
add_subdirectory(tools/replay)

add_custom_target(velmora_data
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${VELMORA_WEB_DATA} ${VELMORA_RUN_DIR}/data)
# The page's manifest and the icons it names, for installing the page as an app.
add_custom_target(velmora_page
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/web/manifest.webmanifest ${VELMORA_WEB_SITE}/
  COMMAND ${VELMORA_WEB_ICONGEN} ${VELMORA_WEB_SITE}/icon-192.png 192
  COMMAND ${VELMORA_WEB_ICONGEN} ${VELMORA_WEB_SITE}/icon-512.png 512)
add_dependencies(velmora velmora_page)
# The whole page: the game, then its page and service worker stamped with its version.
add_custom_target(velmora_site ALL
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR} -DSITE=${VELMORA_WEB_SITE} -P ${CMAKE_CURRENT_LIST_DIR}/WebSite.cmake
  VERBATIM)
add_dependencies(velmora_site velmora)

# Asyncify lets the game's own frame loop hand control back to the browser at every
# present and every wait; the data and the effect file are preloaded into the page's file
# system, where the game reads them relative to its working directory as on the desktop.
# The settings folder is the browser's storage (IDBFS, mounted by win32/web/BrowserStorage.js).
# Static data starts above 64 KB, as on Windows, where a pointer below it is an atom (the
# class name "Window" in the first 64 KB would read as one).
set_target_properties(velmora PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VELMORA_WEB_SITE} SUFFIX .js
  LINK_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/win32/web/BrowserStorage.js)
target_link_options(velmora PRIVATE
  -sGLOBAL_BASE=65536 -sASYNCIFY -sASYNCIFY_STACK_SIZE=262144 -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=134217728
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sFULL_ES3=1 -sEXIT_RUNTIME=1
  -lidbfs.js "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/src/platform/win32/web/BrowserStorage.js"
  "SHELL:--preload-file ${VELMORA_RUN_DIR}/data@/data" "SHELL:--preload-file ${VELMORA_RUN_DIR}/Shader@/Shader")

# velmora_replay for node (node velmora_replay.js FILE ...): headless, with the same data
# preloaded as the page has it, and node's files for the ones it is given. The module is
# compiled before it starts: the loader's other way, fetch, takes no file paths in node.
# The OpenGL ES 3 functions are linked as in the page, though never called headless.
set_target_properties(velmora_replay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VELMORA_WEB_SITE} SUFFIX .js
  LINK_DEPENDS ${CMAKE_SOURCE_DIR}/tools/replay/web/NodeFiles.js)
target_link_options(velmora_replay PRIVATE
  -sGLOBAL_BASE=65536 -sENVIRONMENT=node -sMAX_WEBGL_VERSION=2 -sFULL_ES3=1 -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=134217728 -sEXIT_RUNTIME=1 -sWASM_ASYNC_COMPILATION=0
  -lnodefs.js
  "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/tools/replay/web/NodeFiles.js"
  "SHELL:--preload-file ${VELMORA_RUN_DIR}/data@/data" "SHELL:--preload-file ${VELMORA_RUN_DIR}/Shader@/Shader")
