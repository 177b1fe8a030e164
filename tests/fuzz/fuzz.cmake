# The fuzz targets of the field editor and of the bitmap reader, built with clang's
# libFuzzer beside the host build when clang++ is there. The test run only replays
# the kept corpora, which is quick and gives the same result every time;
# tests/fuzz/run-fuzzer.sh with a number of seconds fuzzes for that long.
find_program(INDOVINA_FUZZ_CXX NAMES clang++-14 clang++)
if(NOT INDOVINA_FUZZ_CXX)
  message(STATUS "clang++ not found: the fuzz targets are left out")
  return()
endif()
# Each target with what it uses of the portable layers: base/ and game/ for the
# field editor, and render/'s reader for the bitmap files.
file(GLOB base_sources ${PROJECT_SOURCE_DIR}/base/*.cpp)
list(FILTER base_sources EXCLUDE REGEX "_(win|gtk|web)\\.cpp$")
file(GLOB fuzz_headers ${PROJECT_SOURCE_DIR}/base/*.h ${PROJECT_SOURCE_DIR}/game/*.h ${PROJECT_SOURCE_DIR}/render/*.h)
foreach(target field_editor bitmap_file)
  set(sources ${base_sources} ${PROJECT_SOURCE_DIR}/tests/fuzz/${target}_fuzz.cpp)
  if(target STREQUAL field_editor)
    list(APPEND sources ${PROJECT_SOURCE_DIR}/game/field_editor.cpp ${PROJECT_SOURCE_DIR}/game/game_state.cpp)
    set(corpus corpus)
  else()
    list(APPEND sources ${PROJECT_SOURCE_DIR}/render/bitmap_file.cpp)
    set(corpus bitmap-corpus)
  endif()
  set(fuzzer ${CMAKE_CURRENT_BINARY_DIR}/${target}_fuzzer)
  add_custom_command(OUTPUT ${fuzzer}
    COMMAND ${INDOVINA_FUZZ_CXX} -std=c++20 -g -O1 -Wall -Wextra -Wpedantic -Wshadow -Werror
            -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
            -I${PROJECT_SOURCE_DIR} -I${CMAKE_BINARY_DIR}/generated ${sources} -o ${fuzzer}
    DEPENDS ${sources} ${fuzz_headers} ${CMAKE_BINARY_DIR}/generated/base/version.h
    COMMENT "Building the ${target} fuzz target with clang")
  add_custom_target(${target}_fuzzer ALL DEPENDS ${fuzzer})
  # 0 seconds: every input of the corpus once, and no fuzzing.
  add_test(NAME fuzz.${target}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
            sh ${PROJECT_SOURCE_DIR}/tests/fuzz/run-fuzzer.sh ${fuzzer} ${CMAKE_CURRENT_BINARY_DIR}/${target}-work
            ${PROJECT_SOURCE_DIR}/tests/fuzz/${corpus} 0)
  set_tests_properties(fuzz.${target} PROPERTIES TIMEOUT 120)
endforeach()
