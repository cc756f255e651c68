# The support library of the game tests (the shared fixture, helpers and the scripted
# players), made once whichever test folder includes this first, and the function
# that makes a game test program.
include_guard(GLOBAL)

add_library(velmora_game_test_support STATIC
  ${CMAKE_CURRENT_LIST_DIR}/GameFixture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GameTestHelpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Pilot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BossFighter.cpp)
target_include_directories(velmora_game_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(velmora_game_test_support PUBLIC velmora_game GTest::gtest)

# velmora_game_test(<target> SOURCES <files...> [LIBRARIES <libraries...>] [SCREENSHOTS <folder>]
#                   [PROPERTIES <ctest properties...>])
# A test program on the game (and LIBRARIES, such as velmora_game_test_support), run in
# the game's run directory (the game reads every file relative to its working directory)
# once the shader and the generated data are built. SCREENSHOTS names the folder under
# this build folder where the program writes its pictures.
function(velmora_game_test target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "SCREENSHOTS" "SOURCES;LIBRARIES;PROPERTIES")
  add_executable(${target} ${arg_SOURCES})
  target_link_libraries(${target} PRIVATE velmora_game ${arg_LIBRARIES} GTest::gtest_main)
  add_dependencies(${target} velmora_shader velmora_data)
  if(arg_SCREENSHOTS)
    target_compile_definitions(${target} PRIVATE
      VELMORA_SCREENSHOT_DIR="${CMAKE_CURRENT_BINARY_DIR}/${arg_SCREENSHOTS}")
  endif()
  if(arg_PROPERTIES)
    set(properties PROPERTIES ${arg_PROPERTIES})
  endif()
  gtest_discover_tests(${target} WORKING_DIRECTORY ${VELMORA_RUN_DIR} DISCOVERY_TIMEOUT 60 ${properties})
endfunction()
