# Cross-building combogen.exe for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64):
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(COMBOGEN_MINGW_TRIPLET x86_64-w64-mingw32)
# The POSIX thread model: the win32 one of GCC 12 lacks std::mutex, which GoogleTest needs.
set(CMAKE_C_COMPILER ${COMBOGEN_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${COMBOGEN_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${COMBOGEN_MINGW_TRIPLET}-windres)

# Libraries, headers and CMake packages come from the MinGW tree only, never from the host's
# Linux ones (a find_package(GTest) must not pick up the host's libgtest); programs from the
# host.
set(CMAKE_FIND_ROOT_PATH /usr/${COMBOGEN_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++, GCC and thread runtimes go into the executables, so they run without MinGW's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
