# Included by the root before any target exists: with VELMORA_FUZZ on, every library is
# built with libFuzzer's coverage and with AddressSanitizer and UndefinedBehaviorSanitizer,
# so that the fuzz targets see into all of the code they drive. Only clang has libFuzzer.
if(VELMORA_FUZZ)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  else()
    message(WARNING "VELMORA_FUZZ needs clang (configure with CC=clang CXX=clang++); no fuzz targets are built")
    set(VELMORA_FUZZ OFF)
  endif()
endif()
