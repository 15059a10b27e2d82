# Building the web page with Debian's Emscripten (package emscripten):
#   cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake
# the same as `emcmake cmake -S . -B build-web`, which passes Emscripten's own toolchain file.
# The page lands in build-web/web/ (cmake/Web.cmake).
if(NOT DEFINED COMBOGEN_EMSCRIPTEN_ROOT)
  set(COMBOGEN_EMSCRIPTEN_ROOT /usr/share/emscripten)
endif()
include(${COMBOGEN_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)
