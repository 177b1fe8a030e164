# The fuzz targets of the session and of the bitmap reader, built with clang's
# libFuzzer beside the host build when clang++ is there. The test run only replays
# the kept corpora, each input once, which is quick and gives the same result every
# time; scripts/soak fuzzes for a while.
find_program(INDOVINA_FUZZ_CXX NAMES clang++-14 clang++)
if(NOT INDOVINA_FUZZ_CXX)
  message(STATUS "clang++ not found: the fuzz targets are left out")
  return()
endif()
# Each target with the portable layers it uses: all of them for the session, the
# reader and base/ for the bitmap files.
file(GLOB portable_sources ${PROJECT_SOURCE_DIR}/base/*.cpp ${PROJECT_SOURCE_DIR}/game/*.cpp
  ${PROJECT_SOURCE_DIR}/render/*.cpp ${PROJECT_SOURCE_DIR}/input/*.cpp ${PROJECT_SOURCE_DIR}/app/session.cpp)
list(FILTER portable_sources EXCLUDE REGEX "_(win|gtk|web)\\.cpp$")
file(GLOB portable_headers ${PROJECT_SOURCE_DIR}/base/*.h ${PROJECT_SOURCE_DIR}/game/*.h
  ${PROJECT_SOURCE_DIR}/render/*.h ${PROJECT_SOURCE_DIR}/input/*.h ${PROJECT_SOURCE_DIR}/app/session.h)
foreach(target session bitmap_file)
  set(sources ${portable_sources})
  if(target STREQUAL bitmap_file)
    list(FILTER sources INCLUDE REGEX "/(base/[a-z_]+|render/bitmap_file)\\.cpp$")
  endif()
  set(fuzzer ${CMAKE_CURRENT_BINARY_DIR}/${target}_fuzzer)
  add_custom_command(OUTPUT ${fuzzer}
    COMMAND ${INDOVINA_FUZZ_CXX} -std=c++20 -g -O1 -Wall -Wextra -Wpedantic -Wshadow -Werror
            -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
            -I${PROJECT_SOURCE_DIR} -I${CMAKE_BINARY_DIR}/generated ${sources}
            ${PROJECT_SOURCE_DIR}/tests/fuzz/${target}_fuzz.cpp -o ${fuzzer}
    DEPENDS ${sources} ${portable_headers} ${PROJECT_SOURCE_DIR}/tests/fuzz/${target}_fuzz.cpp
            ${CMAKE_BINARY_DIR}/generated/base/version.h
    COMMENT "Building the ${target} fuzz target with clang")
  add_custom_target(${target}_fuzzer ALL DEPENDS ${fuzzer})
  string(REPLACE _ - corpus ${target}-corpus)
  add_test(NAME fuzz.${target}
    COMMAND ${fuzzer} -runs=0 -timeout=10 -rss_limit_mb=2048 -max_len=512 ${PROJECT_SOURCE_DIR}/tests/fuzz/${corpus})
  set_tests_properties(fuzz.${target} PROPERTIES TIMEOUT 120 ENVIRONMENT ASAN_OPTIONS=detect_leaks=1)
endforeach()
