# The Windows package: indovina-0.01-win64.zip with the game, its two image files
# and a short text on how to play. `cmake --build --preset windows --target package`
# (or cpack in the build folder) makes it; the player unzips it and double-clicks
# indovina.exe. The game looks for q.bmp and c.bmp in its current directory, then
# beside the executable, so they lie side by side with it.
if(NOT WIN32)
  return()
endif()

install(TARGETS indovina RUNTIME DESTINATION .)
install(FILES assets/q.bmp assets/c.bmp DESTINATION .)
if(MSVC)
  # An MSVC build needs its run-time library beside it (MinGW links it statically).
  set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION .)
  include(InstallRequiredSystemLibraries)
endif()
# Windows' Notepad of old shows a text with bare line feeds on one line.
configure_file(assets/LEGGIMI.txt ${CMAKE_BINARY_DIR}/LEGGIMI.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/LEGGIMI.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME indovina)
set(CPACK_PACKAGE_VENDOR "Indovina il numero")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Indovina il numero: a number-guessing game")
set(CPACK_PACKAGE_VERSION ${INDOVINA_VERSION})
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_SYSTEM_NAME win32)
endif()
set(CPACK_PACKAGE_FILE_NAME indovina-${INDOVINA_VERSION}-${CPACK_SYSTEM_NAME})
# The files sit in a folder of the package's name, so unzipping puts them together.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
