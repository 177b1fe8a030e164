# The native Linux front end (GTK 4), on the same portable layers: the game
# `indovina` and its package indovina_<version>_amd64.deb. Its tests are in
# tests/gtk.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(GTK4 QUIET IMPORTED_TARGET gtk4)
endif()
if(NOT GTK4_FOUND)
  message(STATUS "GTK 4 not found (libgtk-4-dev): the native game is not built")
  return()
endif()

indovina_layer(indovina_render_gtk render/surface_gtk.cpp LINKS indovina_render PkgConfig::GTK4)
indovina_layer(indovina_input_gtk input/keyboard_gtk.cpp LINKS indovina_input PkgConfig::GTK4)
indovina_layer(indovina_app_gtk app/entry_gtk.cpp LINKS indovina_app indovina_input_gtk indovina_render_gtk)
indovina_executable(indovina SOURCES app/main_gtk.cpp LINKS indovina_app_gtk)

# In the build tree the marks lie beside the executable, where the game looks for
# them after the current directory; installed, they are in share/indovina.
foreach(image q.bmp c.bmp)
  add_custom_command(TARGET indovina POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
            ${PROJECT_SOURCE_DIR}/assets/${image} $<TARGET_FILE_DIR:indovina>/${image})
endforeach()

include(cmake/debian.cmake)
