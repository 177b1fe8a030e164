# Makes the Debian package in the Release build tree (configured with the linux
# preset when it is not yet), checks the files it installs, then runs lintian,
# desktop-file-validate and appstreamcli on it, those that are installed: any
# error or warning of theirs fails the check. Run with -P and: SOURCE_DIR,
# BUILD_DIR (the Release tree), APP_ID (the desktop's id of the game).
if(NOT EXISTS ${BUILD_DIR}/CMakeCache.txt)
  execute_process(COMMAND ${CMAKE_COMMAND} --preset linux -B ${BUILD_DIR} WORKING_DIRECTORY ${SOURCE_DIR}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cannot configure ${BUILD_DIR}:\n${output}")
  endif()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --parallel 2 --target package
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
string(REGEX MATCH "CPack: - package: ([^\n]*\\.deb) generated" line "${output}")
set(deb "${CMAKE_MATCH_1}")
if(NOT result EQUAL 0 OR NOT EXISTS "${deb}")
  message(FATAL_ERROR "the package was not made:\n${output}")
endif()

set(root ${BUILD_DIR}/package_check)
file(REMOVE_RECURSE ${root})
file(MAKE_DIRECTORY ${root}/deb)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${deb} WORKING_DIRECTORY ${root}/deb)
file(GLOB data ${root}/deb/data.tar.*)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${data} WORKING_DIRECTORY ${root})
file(REMOVE_RECURSE ${root}/deb)
file(GLOB_RECURSE files RELATIVE ${root} ${root}/*)
list(SORT files)
set(expected usr/games/indovina usr/share/applications/${APP_ID}.desktop
    usr/share/doc/indovina/changelog.gz usr/share/doc/indovina/copyright
    usr/share/icons/hicolor/scalable/apps/${APP_ID}.svg usr/share/indovina/c.bmp
    usr/share/indovina/q.bmp usr/share/man/man6/indovina.6.gz usr/share/metainfo/${APP_ID}.metainfo.xml)
if(NOT files STREQUAL expected)
  message(FATAL_ERROR "${deb} holds\n  ${files}\ninstead of\n  ${expected}")
endif()

# Each tool's report is shown; a failing exit, or a line that is an error or a
# warning (E: or W: for lintian and appstreamcli; any line at all, hints too,
# for desktop-file-validate, which is silent on a clean entry), fails the check.
set(failed "")
macro(check tool failing)
  find_program(${tool}_program ${tool})
  if(NOT ${tool}_program)
    message(STATUS "${tool} is not installed: not run")
  else()
    execute_process(COMMAND ${${tool}_program} ${ARGN} RESULT_VARIABLE result
                    OUTPUT_VARIABLE output ERROR_VARIABLE output)
    message(STATUS "${tool} (exit ${result}):\n${output}")
    if(NOT result EQUAL 0 OR output MATCHES "${failing}")
      list(APPEND failed ${tool})
    endif()
  endif()
endmacro()
check(lintian "(^|\n)[EW]: " --fail-on error,warning ${deb})
check(desktop-file-validate "." ${root}/usr/share/applications/${APP_ID}.desktop)
check(appstreamcli "(^|\n)[EW]: " validate --no-net --no-color ${root}/usr/share/metainfo/${APP_ID}.metainfo.xml)
if(failed)
  message(FATAL_ERROR "errors or warnings from: ${failed}")
endif()
