# Makes the Windows package with CPack into a scratch folder, unzips it, checks
# what it holds and starts the unzipped game from its folder, as a player does.
# Run with -P and: BUILD_DIR (the Windows build tree), CPACK (the cpack command),
# STARTER (game_tests.exe, whose Started case starts indovina.exe from the current
# directory), EMULATOR (what runs a Windows program here; empty on Windows).
set(scratch ${BUILD_DIR}/package_check)
file(REMOVE_RECURSE ${scratch})
file(MAKE_DIRECTORY ${scratch}/unzipped)

execute_process(COMMAND ${CPACK} -G ZIP -B ${scratch} --config ${BUILD_DIR}/CPackConfig.cmake
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
set(zip ${scratch}/indovina-0.01-win64.zip)
if(NOT result EQUAL 0 OR NOT EXISTS ${zip})
  message(FATAL_ERROR "cpack did not make ${zip}:\n${output}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${scratch}/unzipped
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot unzip ${zip}")
endif()
file(GLOB_RECURSE files RELATIVE ${scratch}/unzipped ${scratch}/unzipped/*)
list(SORT files)
set(expected indovina-0.01-win64/LEGGIMI.txt indovina-0.01-win64/c.bmp indovina-0.01-win64/indovina.exe
             indovina-0.01-win64/q.bmp)
if(NOT files STREQUAL expected)
  message(FATAL_ERROR "the package holds\n  ${files}\ninstead of\n  ${expected}")
endif()

set(folder ${scratch}/unzipped/indovina-0.01-win64)
foreach(image q.bmp c.bmp)
  file(SIZE ${folder}/${image} size)
  if(size EQUAL 0)
    message(FATAL_ERROR "${image} in the package is empty")
  endif()
endforeach()
# The text is for Notepad: every line ends in CR LF. (file(READ) drops carriage
# returns, so the bytes are counted in hexadecimal, one byte per "xx ".)
file(READ ${folder}/LEGGIMI.txt hex HEX)
string(REGEX REPLACE "(..)" "\\1 " bytes "${hex}")
string(REGEX MATCHALL "0a " lineFeeds "${bytes}")
string(REGEX MATCHALL "0d 0a " lineEnds "${bytes}")
list(LENGTH lineFeeds lineFeedCount)
list(LENGTH lineEnds lineEndCount)
if(lineFeedCount EQUAL 0 OR NOT lineFeedCount EQUAL lineEndCount)
  message(FATAL_ERROR "LEGGIMI.txt: ${lineEndCount} of its ${lineFeedCount} lines end in CR LF")
endif()

# The case must have run, not been filtered out.
execute_process(COMMAND ${EMULATOR} ${STARTER} --gtest_filter=Started.* WORKING_DIRECTORY ${folder}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
message(STATUS "${output}")
if(NOT result EQUAL 0 OR NOT output MATCHES "PASSED  \\] 1 test")
  message(FATAL_ERROR "the unzipped game did not run and end cleanly (${result})")
endif()
