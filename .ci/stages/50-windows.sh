#!/usr/bin/env bash
# The Windows build: combogen.exe cross-built with MinGW-w64 (warnings as errors), then its
# unit tests and process-level tests run under Wine, in a Wine prefix of their own; then the
# NSIS installer, installed, run and uninstalled silently in that prefix.
set -euo pipefail
cd "$(dirname "$0")/../.."

tools/install-build-deps g++-mingw-w64-x86-64 wine64 googletest nsis
wine=/usr/lib/wine/wine64

export CXXFLAGS="${CXXFLAGS:-} -Werror"
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DFETCHCONTENT_SOURCE_DIR_GOOGLETEST=/usr/src/googletest \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$wine"
timeout 1800 cmake --build build-win -j2

WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all
cleanup() {
    timeout 60 /usr/lib/wine/wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX" "$packages"
}
packages=$(mktemp -d)
trap cleanup EXIT
# The first start creates the prefix, which takes a while; later starts are quick.
timeout 300 "$wine" wineboot -i >/dev/null 2>&1 || true
timeout 900 ctest --test-dir build-win --output-on-failure --timeout 600

(cd build-win && cpack -G NSIS -B "$packages" >/dev/null)
installer=$(ls "$packages"/combogen-*-win64.exe)
timeout 600 bash tests/process/windows_installer.sh "$installer" "$wine"
echo "installer: ${installer##*/}"
