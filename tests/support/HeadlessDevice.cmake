# The headless device of the platform tests, the data checks and the fuzz targets, made
# once whichever folder includes this first (the fuzz targets build without the tests).
include_guard(GLOBAL)

add_library(velmora_headless_device STATIC ${CMAKE_CURRENT_LIST_DIR}/HeadlessDevice.cpp)
target_include_directories(velmora_headless_device PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(velmora_headless_device PUBLIC velmora_platform)
