# The static libraries the cross builds (cmake/Web.cmake, cmake/Windows.cmake) take from
# the prefix their script built, in ${prefix}, under the desktop's pkg-config names.
add_library(PkgConfig::ZLIB INTERFACE IMPORTED)
target_include_directories(PkgConfig::ZLIB INTERFACE ${prefix}/include)
target_link_libraries(PkgConfig::ZLIB INTERFACE ${prefix}/lib/libz.a)
add_library(PkgConfig::ASSIMP INTERFACE IMPORTED)
target_include_directories(PkgConfig::ASSIMP INTERFACE ${prefix}/include)
target_link_libraries(PkgConfig::ASSIMP INTERFACE ${prefix}/lib/libassimp.a ${prefix}/lib/libminizip.a
  PkgConfig::ZLIB)
add_library(PkgConfig::STB INTERFACE IMPORTED)
target_include_directories(PkgConfig::STB INTERFACE ${prefix}/include/stb)
target_link_libraries(PkgConfig::STB INTERFACE ${prefix}/lib/libstb.a)
