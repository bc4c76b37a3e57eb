#!/bin/bash
# Builds the two Windows control servers (QVXSPLIT, QVXRSZ) with MinGW-w64 and
# runs their tests under Wine.  Installs what it needs when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh --only cmake make g++-mingw-w64-x86-64 mingw-w64-tools libwine-dev wine64 wine

# A build tree of their own beside the Windows program's (scripts/build-windows.sh).
build=build-win/controls
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build "$build" -j"$(nproc)"

# Wine runs headless in a prefix of the build's own, created once.
RILLO_WINEPREFIX="$PWD/$build/wineprefix" source scripts/wine-env.sh
wine_prefix_ready

cd "$build"
ctest --output-on-failure
