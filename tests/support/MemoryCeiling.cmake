# runsWithinMemory: the readers' tests check that a hostile file costs bounded memory.
if(NOT TARGET velmora_memory_ceiling)
  add_library(velmora_memory_ceiling STATIC ${CMAKE_CURRENT_LIST_DIR}/MemoryCeiling.cpp)
  target_include_directories(velmora_memory_ceiling PUBLIC ${CMAKE_CURRENT_LIST_DIR})
endif()
