# The field editor's fuzz target, built with clang's libFuzzer beside the host build
# when clang++ is there, and run for a bounded time as one test of the CTest run.
find_program(INDOVINA_FUZZ_CXX NAMES clang++-14 clang++)
if(NOT INDOVINA_FUZZ_CXX)
  message(STATUS "clang++ not found: the field editor's fuzz target is left out")
  return()
endif()
set(INDOVINA_FUZZ_SECONDS 25 CACHE STRING "How long the fuzz test runs, in seconds")
set(fuzz_sources
  ${PROJECT_SOURCE_DIR}/tests/fuzz/field_editor_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/game/field_editor.cpp
  ${PROJECT_SOURCE_DIR}/game/game_state.cpp)
set(fuzzer ${CMAKE_CURRENT_BINARY_DIR}/field_editor_fuzzer)
add_custom_command(OUTPUT ${fuzzer}
  COMMAND ${INDOVINA_FUZZ_CXX} -std=c++20 -g -O1 -Wall -Wextra -Wpedantic -Wshadow -Werror
          -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
          -I${PROJECT_SOURCE_DIR} ${fuzz_sources} -o ${fuzzer}
  DEPENDS ${fuzz_sources} ${PROJECT_SOURCE_DIR}/game/field_editor.h ${PROJECT_SOURCE_DIR}/game/game_state.h
  COMMENT "Building the field editor's fuzz target with clang")
add_custom_target(field_editor_fuzzer ALL DEPENDS ${fuzzer})
# New inputs go to a scratch folder first; the corpus kept in the repository is
# only read.
add_test(NAME fuzz.FieldEditor
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
          sh ${PROJECT_SOURCE_DIR}/tests/fuzz/run-fuzzer.sh ${fuzzer} ${CMAKE_CURRENT_BINARY_DIR}/fuzz-work
          ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus ${INDOVINA_FUZZ_SECONDS})
set_tests_properties(fuzz.FieldEditor PROPERTIES TIMEOUT 300)
