# The project's libraries and executables, made alike.

# indovina_layer(name sources... [LINKS libs...]): a static library of one layer,
# with the project's warnings, linking only the layers below it.
function(indovina_layer name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
  if(ARG_LINKS)
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  endif()
  indovina_warnings(${name})
endfunction()

# indovina_executable(name [WIN32] SOURCES... LINKS...): an executable with the
# project's warnings. MinGW links its runtime statically, so the Windows programs
# import only KERNEL32, msvcrt, USER32 and GDI32 and need no DLL beside them.
function(indovina_executable name)
  cmake_parse_arguments(ARG "WIN32;EXCLUDE_FROM_ALL" "" "SOURCES;LINKS" ${ARGN})
  set(options)
  if(ARG_WIN32)
    list(APPEND options WIN32)
  endif()
  if(ARG_EXCLUDE_FROM_ALL)
    list(APPEND options EXCLUDE_FROM_ALL)
  endif()
  add_executable(${name} ${options} ${ARG_SOURCES})
  if(ARG_LINKS)
    target_link_libraries(${name} PRIVATE ${ARG_LINKS})
  endif()
  indovina_warnings(${name})
  if(MINGW)
    target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()
