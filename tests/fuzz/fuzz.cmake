# The field editor's fuzz target, built with clang's libFuzzer beside the host build
# when clang++ is there. The test run only replays the kept corpus, which is quick
# and gives the same result every time; tests/fuzz/run-fuzzer.sh with a number of
# seconds fuzzes for that long.
find_program(INDOVINA_FUZZ_CXX NAMES clang++-14 clang++)
if(NOT INDOVINA_FUZZ_CXX)
  message(STATUS "clang++ not found: the field editor's fuzz target is left out")
  return()
endif()
# The editor and what it uses of the layer below: the portable files of base/ and game/.
file(GLOB fuzz_sources ${PROJECT_SOURCE_DIR}/base/*.cpp)
list(FILTER fuzz_sources EXCLUDE REGEX "_(win|gtk)\\.cpp$")
list(APPEND fuzz_sources
  ${PROJECT_SOURCE_DIR}/tests/fuzz/field_editor_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/game/field_editor.cpp
  ${PROJECT_SOURCE_DIR}/game/game_state.cpp)
file(GLOB fuzz_headers ${PROJECT_SOURCE_DIR}/base/*.h ${PROJECT_SOURCE_DIR}/game/*.h)
set(fuzzer ${CMAKE_CURRENT_BINARY_DIR}/field_editor_fuzzer)
add_custom_command(OUTPUT ${fuzzer}
  COMMAND ${INDOVINA_FUZZ_CXX} -std=c++20 -g -O1 -Wall -Wextra -Wpedantic -Wshadow -Werror
          -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
          -I${PROJECT_SOURCE_DIR} -I${CMAKE_BINARY_DIR}/generated ${fuzz_sources} -o ${fuzzer}
  DEPENDS ${fuzz_sources} ${fuzz_headers} ${CMAKE_BINARY_DIR}/generated/base/version.h
  COMMENT "Building the field editor's fuzz target with clang")
add_custom_target(field_editor_fuzzer ALL DEPENDS ${fuzzer})
# 0 seconds: every input of the corpus once, and no fuzzing.
add_test(NAME fuzz.FieldEditor
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
          sh ${PROJECT_SOURCE_DIR}/tests/fuzz/run-fuzzer.sh ${fuzzer} ${CMAKE_CURRENT_BINARY_DIR}/fuzz-work
          ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus 0)
set_tests_properties(fuzz.FieldEditor PROPERTIES TIMEOUT 120)
