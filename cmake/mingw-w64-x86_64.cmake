# Cross build of the Windows control servers with MinGW-w64 (Debian packages
# g++-mingw-w64-x86-64, mingw-w64-tools); tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The IDL compiler and the IDL files it imports (from libwine-dev), and the
# folder holding stdole2.tlb for importlib.
set(AX_WIDL ${MINGW_PREFIX}-widl CACHE STRING "IDL compiler")
set(AX_IDL_INCLUDE /usr/include/wine/wine/windows CACHE PATH "IDL import folder")
set(AX_TLB_PATH /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "stdole2.tlb folder")
set(AX_OBJDUMP ${MINGW_PREFIX}-objdump CACHE STRING "objdump for the export/import check")

# Test programs run through Wine (scripts/wine-run.sh holds its settings), in
# a prefix of the build's own.
set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env RILLO_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix
    bash ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
