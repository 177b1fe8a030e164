# The browser's front end (Emscripten): the portable layers and the web shell
# built into WebAssembly, and a self-contained site any static server can serve,
# in build/web/site: the page, its script and style, the game's JavaScript and
# .wasm, the marks (q.bmp, c.bmp) and the fonts the board is drawn with, cut down
# to the characters the game shows, with their licences. Nothing is fetched from
# another site.
set(INDOVINA_SITE ${CMAKE_BINARY_DIR}/site)

# The session turns a run-time error into its box through C++ exceptions, which
# Emscripten leaves out unless asked (the preset compiles with -fexceptions too).
add_executable(indovina_web web/shell_web.cpp)
target_link_libraries(indovina_web PRIVATE indovina_app)
indovina_warnings(indovina_web)
set_target_properties(indovina_web PROPERTIES OUTPUT_NAME indovina-wasm SUFFIX .js
  RUNTIME_OUTPUT_DIRECTORY ${INDOVINA_SITE})
target_link_options(indovina_web PRIVATE
  -fexceptions -sMODULARIZE=1 -sEXPORT_NAME=IndovinaModule -sENVIRONMENT=web
  -sFORCE_FILESYSTEM=1 "-sEXPORTED_RUNTIME_METHODS=[FS,allocateUTF8]" -sALLOW_MEMORY_GROWTH=1)

# The page's own files and the marks, copied as they are.
set(site_files)
foreach(file web/index.html web/indovina.js web/indovina.css assets/q.bmp assets/c.bmp)
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${INDOVINA_SITE}/${name}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/${file} ${INDOVINA_SITE}/${name}
    DEPENDS ${PROJECT_SOURCE_DIR}/${file})
  list(APPEND site_files ${INDOVINA_SITE}/${name})
endforeach()

# The free faces that stand in for the board's (as on Linux): Liberation Serif for
# Times New Roman, FreeMono for Lucida Console, OCR B for OCR-B 10 BT, each cut
# down to Latin-1 and a few punctuation marks of the page, as WOFF2 (pyftsubset).
# Debian's Python, whatever Python comes first on the PATH: it has python3-fonttools
# and python3-brotli.
find_program(INDOVINA_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(glyphs "U+0020-007E,U+00A0-00FF,U+2013-2014,U+2019,U+201C-201D,U+2026,U+2715")
foreach(font
    "/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf|LiberationSerif-Regular|fonts-liberation"
    "/usr/share/fonts/truetype/freefont/FreeMono.ttf|FreeMono|fonts-freefont-ttf"
    "/usr/share/fonts/opentype/ocr-b/OCRB.otf|OCRB|fonts-ocr-b")
  string(REPLACE "|" ";" font "${font}")
  list(GET font 0 source)
  list(GET font 1 name)
  list(GET font 2 package)
  add_custom_command(OUTPUT ${INDOVINA_SITE}/fonts/${name}.woff2 ${INDOVINA_SITE}/fonts/${name}-LICENSE.txt
    COMMAND ${CMAKE_COMMAND} -E make_directory ${INDOVINA_SITE}/fonts
    COMMAND ${INDOVINA_SYSTEM_PYTHON} -m fontTools.subset ${source} --unicodes=${glyphs} --flavor=woff2 --layout-features=kern --no-hinting
            --output-file=${INDOVINA_SITE}/fonts/${name}.woff2
    COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/${package}/copyright ${INDOVINA_SITE}/fonts/${name}-LICENSE.txt
    DEPENDS ${source})
  list(APPEND site_files ${INDOVINA_SITE}/fonts/${name}.woff2)
endforeach()
add_custom_target(web_site ALL DEPENDS ${site_files} indovina_web)

# The browser game's tests: the shared tables played in headless Chromium through
# WebDriver (web.Scenarios.<name>), their names read as a screen reader gets them.
# The harness (tests/web) is native code, built here by a native build of its own;
# all are left out without Chromium, its driver or Selenium.
find_program(INDOVINA_CHROMEDRIVER chromedriver PATHS /usr/bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
find_program(INDOVINA_CHROMIUM chromium PATHS /usr/bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
execute_process(COMMAND ${INDOVINA_SYSTEM_PYTHON} -c "import selenium" RESULT_VARIABLE no_selenium OUTPUT_QUIET ERROR_QUIET)
if(NOT INDOVINA_CHROMEDRIVER OR NOT INDOVINA_CHROMIUM OR no_selenium)
  message(STATUS "chromium, chromium-driver or python3-selenium not found: the browser game's tests are left out")
  return()
endif()

include(ExternalProject)
ExternalProject_Add(web_harness
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/tests/web
  BINARY_DIR ${CMAKE_BINARY_DIR}/harness
  CMAKE_GENERATOR "Unix Makefiles"
  CMAKE_ARGS -DCMAKE_CXX_COMPILER=c++ -DCMAKE_BUILD_TYPE=Release -DINDOVINA_WERROR=ON
             -DINDOVINA_ROOT=${PROJECT_SOURCE_DIR} -DSITE=${INDOVINA_SITE}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target web_scenarios -j 2
  INSTALL_COMMAND "" BUILD_ALWAYS ON)

enable_testing()
file(STRINGS ${PROJECT_SOURCE_DIR}/tests/scenarios/games.txt scenarios REGEX "^\\[")
foreach(scenario IN LISTS scenarios)
  string(REGEX REPLACE "^\\[([A-Za-z]+)\\].*" "\\1" scenario "${scenario}")
  add_test(NAME web.Scenarios.${scenario}
    COMMAND ${INDOVINA_SYSTEM_PYTHON} ${PROJECT_SOURCE_DIR}/tests/web/page_bridge.py ${INDOVINA_SITE}
            ${CMAKE_BINARY_DIR}/harness/web_scenarios --gtest_filter=Shared/Scenarios.Play/${scenario})
  set_tests_properties(web.Scenarios.${scenario} PROPERTIES TIMEOUT 240 SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endforeach()
