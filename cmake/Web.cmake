# The web page: the engine compiled to WebAssembly, run in a Web Worker, and the static page
# around it, gathered in ${CMAKE_BINARY_DIR}/web/ so that the folder works from any static
# server or straight from the file system.

# The engine's failures are C++ exceptions; Emscripten leaves them out unless asked. Built for
# size (the page and its WebAssembly stay under 400 KB), which costs little speed here.
set(COMBOGEN_WEB_FLAGS -fexceptions -O3 -flto)
target_compile_options(combogen_core PUBLIC ${COMBOGEN_WEB_FLAGS})
target_link_options(combogen PRIVATE
  ${COMBOGEN_WEB_FLAGS}
  # The engine allocates little and never per line: the smaller allocator will do.
  -sMALLOC=emmalloc
  # One function that makes a fresh module from the bytes it is handed (wasmBinary): a page
  # opened from file:// may not fetch a .wasm file, so engine.js carries them gzipped, as
  # base64 (cmake/WebEngine.cmake).
  -sMODULARIZE=1 -sEXPORT_NAME=createCombogen -sENVIRONMENT=worker
  -sINVOKE_RUN=0 -sEXPORTED_FUNCTIONS=_main,_combogen_check,_combogen_refusal,_malloc,_free
  -sEXPORTED_RUNTIME_METHODS=callMain,lengthBytesUTF8,stringToUTF8,UTF8ToString
  # Files come from the page (src/platform/file_web.cpp), not from a file system of
  # Emscripten's.
  -sFILESYSTEM=0
  # The failure report's offset: the failing code's place in the module.
  --js-library ${CMAKE_SOURCE_DIR}/src/platform/process_web.js
  -sALLOW_MEMORY_GROWTH=1
  # Less JavaScript: the worker sets only these on the module, and every browser that runs
  # WebAssembly has TextDecoder.
  -sINCOMING_MODULE_JS_API=print,printErr,wasmBinary -sTEXTDECODER=2)
# The code a run passes once (checks, options, reports, statistics' texts) is built for size;
# the code of every line (generator, draws, filters, output) and all of the wheel's (its
# search, the check of every draw, the order of the lines) for speed. Folders named one by
# one, so that code moved to a new folder stays fast.
file(GLOB COMBOGEN_WEB_COLD_SOURCES ${CMAKE_SOURCE_DIR}/src/cli/*.cpp
     ${CMAKE_SOURCE_DIR}/src/failure/*.cpp ${CMAKE_SOURCE_DIR}/src/fixed/*.cpp
     ${CMAKE_SOURCE_DIR}/src/stats/*.cpp
     ${CMAKE_SOURCE_DIR}/src/text/number_lines.cpp
     ${CMAKE_SOURCE_DIR}/src/line_checks/draw_check.cpp
     ${CMAKE_SOURCE_DIR}/src/line_checks/draw_file.cpp
     ${CMAKE_SOURCE_DIR}/src/line_checks/history_report.cpp
     ${CMAKE_SOURCE_DIR}/src/line_checks/guarantee_parts.cpp
     ${CMAKE_SOURCE_DIR}/src/line_checks/guarantee_report.cpp
     ${CMAKE_SOURCE_DIR}/src/line_checks/prize_chart.cpp
     ${CMAKE_SOURCE_DIR}/src/line_checks/prize_report.cpp
     ${CMAKE_SOURCE_DIR}/src/line_checks/report_text.cpp)
set_source_files_properties(${COMBOGEN_WEB_COLD_SOURCES} PROPERTIES COMPILE_OPTIONS -Oz)

# Debian's Emscripten links with JavaScript tools that need Debian's JavaScript modules; a
# node that is not Debian's own does not look for them there.
set_property(TARGET combogen APPEND PROPERTY LINK_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/platform/process_web.js)
set_target_properties(combogen PROPERTIES
  CXX_LINKER_LAUNCHER "${CMAKE_COMMAND};-E;env;NODE_PATH=/usr/share/nodejs")

set(COMBOGEN_WEB_DIR ${CMAKE_BINARY_DIR}/web)
set(COMBOGEN_WEB_SOURCES index.html style.css fields.js words.js complaints.js page.js result.js
    prize_table.js checks.js games.js sw.js manifest.webmanifest icon.svg icon-192.png
    icon-512.png)
set(COMBOGEN_WEB_OUTPUTS ${COMBOGEN_WEB_DIR}/engine.js)
# The page's scripts minified (Debian's node-terser), so that the page stays under its size;
# the other files as they are.
set(COMBOGEN_MINIFY ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs node
    ${CMAKE_SOURCE_DIR}/cmake/minify.js)
foreach(file IN LISTS COMBOGEN_WEB_SOURCES)
  if(file MATCHES "\\.js$")
    set(command ${COMBOGEN_MINIFY})
  else()
    set(command ${CMAKE_COMMAND} -E copy)
  endif()
  add_custom_command(OUTPUT ${COMBOGEN_WEB_DIR}/${file}
    COMMAND ${command} ${CMAKE_SOURCE_DIR}/web/${file} ${COMBOGEN_WEB_DIR}/${file}
    DEPENDS ${CMAKE_SOURCE_DIR}/web/${file} ${CMAKE_SOURCE_DIR}/cmake/minify.js)
  list(APPEND COMBOGEN_WEB_OUTPUTS ${COMBOGEN_WEB_DIR}/${file})
endforeach()
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/worker.min.js
  COMMAND ${COMBOGEN_MINIFY} ${CMAKE_SOURCE_DIR}/web/worker.js ${CMAKE_BINARY_DIR}/worker.min.js
  DEPENDS ${CMAKE_SOURCE_DIR}/web/worker.js ${CMAKE_SOURCE_DIR}/cmake/minify.js)
# engine.js: the module's script and the worker's message handling, inside one function that
# the page turns into the worker's source.
add_custom_command(OUTPUT ${COMBOGEN_WEB_DIR}/engine.js
  COMMAND ${CMAKE_COMMAND} -DMODULE=$<TARGET_FILE:combogen>
          -DWASM=$<TARGET_FILE_DIR:combogen>/combogen.wasm
          -DWORKER=${CMAKE_BINARY_DIR}/worker.min.js -DOUTPUT=${COMBOGEN_WEB_DIR}/engine.js
          -P ${CMAKE_SOURCE_DIR}/cmake/WebEngine.cmake
  DEPENDS combogen ${CMAKE_BINARY_DIR}/worker.min.js ${CMAKE_SOURCE_DIR}/cmake/WebEngine.cmake)
add_custom_target(web_page ALL DEPENDS ${COMBOGEN_WEB_OUTPUTS})

if(COMBOGEN_BUILD_TESTS)
  enable_testing()
  add_subdirectory(tests/web)
endif()
