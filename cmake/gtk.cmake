# The native Linux front end (GTK 4), on the same portable layers: the game
# `indovina`, its package indovina_<version>_amd64.deb, and the test that plays it
# through the display server and reads it back as a screen reader does.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(GTK4 QUIET IMPORTED_TARGET gtk4)
endif()
if(NOT GTK4_FOUND)
  message(STATUS "GTK 4 not found (libgtk-4-dev): the native game is not built")
  return()
endif()

indovina_layer(indovina_render_gtk render/surface_gtk.cpp LINKS indovina_render PkgConfig::GTK4)
indovina_layer(indovina_input_gtk input/keyboard_gtk.cpp input/shell_gtk.cpp LINKS indovina_input indovina_render_gtk)
indovina_layer(indovina_app_gtk app/entry_gtk.cpp app/main_window_gtk.cpp LINKS indovina_app indovina_input_gtk)
indovina_executable(indovina SOURCES app/main_gtk.cpp LINKS indovina_app_gtk)

# In the build tree the marks lie beside the executable, where the game looks for
# them after the current directory; installed, they are in share/indovina.
foreach(image q.bmp c.bmp)
  add_custom_command(TARGET indovina POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
            ${PROJECT_SOURCE_DIR}/assets/${image} $<TARGET_FILE_DIR:indovina>/${image})
endforeach()

include(cmake/debian.cmake)

# The test that plays a whole game in the built program: real keys through the
# display server (xdotool), the board read back over AT-SPI. Only in a build with
# tests, with the tools it needs; the screen is the run's own (scripts/test
# exports DISPLAY), or one of the test's own when there is none.
find_program(INDOVINA_XVFB Xvfb)
find_program(INDOVINA_XDOTOOL xdotool)
find_program(INDOVINA_DBUS_RUN_SESSION dbus-run-session)
find_program(INDOVINA_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
if((NOT DEFINED BUILD_TESTING OR BUILD_TESTING) AND INDOVINA_XVFB AND INDOVINA_XDOTOOL
   AND INDOVINA_DBUS_RUN_SESSION AND INDOVINA_SYSTEM_PYTHON)
  execute_process(COMMAND ${INDOVINA_SYSTEM_PYTHON} -c "import pyatspi" RESULT_VARIABLE no_pyatspi
                  OUTPUT_QUIET ERROR_QUIET)
  if(no_pyatspi)
    message(STATUS "python3-pyatspi not found: the GTK game's play test is left out")
  else()
    add_test(NAME gtk.Play.WholeGameThroughTheDisplayServer
      COMMAND ${INDOVINA_DBUS_RUN_SESSION} -- ${INDOVINA_SYSTEM_PYTHON}
              ${PROJECT_SOURCE_DIR}/tests/gtk/play_test.py $<TARGET_FILE:indovina>)
    # The game of the sanitized build: GTK and fontconfig keep memory to the end
    # on purpose, which the leak check would report.
    set_tests_properties(gtk.Play.WholeGameThroughTheDisplayServer PROPERTIES
      RUN_SERIAL TRUE TIMEOUT 180
      ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0;GSK_RENDERER=cairo")
  endif()
endif()
