# The fuzz targets' bodies as one library, shared by the libFuzzer programs
# (fuzz/) and the replay test (tests/fuzz_regressions), whichever comes first.
include_guard(GLOBAL)
add_library(zep_fuzz_bodies STATIC
  ${CMAKE_CURRENT_LIST_DIR}/require.cpp
  ${CMAKE_CURRENT_LIST_DIR}/script_engine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/region_bytes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picture_trace.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bmp_decode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dorvik_grade.cpp
  ${CMAKE_CURRENT_LIST_DIR}/character_store.cpp
)
target_include_directories(zep_fuzz_bodies PUBLIC ${CMAKE_CURRENT_LIST_DIR})
# stb_image's BMP loader is the reference of the BMP target.
target_include_directories(zep_fuzz_bodies SYSTEM PRIVATE ${STB_INCLUDE_DIR})
target_link_libraries(zep_fuzz_bodies PUBLIC lib_animation lib_lookup lib_picture lib_zep dorvik_core lib_sys)
zep_warnings(zep_fuzz_bodies)
