# The Windows program's cross build (RILLO_WINDOWS_PART=program), included by
# the top-level CMakeLists.txt before the folders. Configure it with
#   -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64-posix.cmake
#   -DCMAKE_PREFIX_PATH=<Qt for MinGW> -DQT_HOST_PATH=/usr
#   -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
# as scripts/build-windows.sh does. Every test program runs under Wine.

# The benchmarks measure the Linux build; they are not built here.
set(RILLO_BENCH OFF CACHE BOOL "Build the benchmarks" FORCE)

# GoogleTest from the source Debian ships with libgtest-dev, built by the
# same cross compiler as the tests.
if(BUILD_TESTING)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # Its CMake names the targets GTest::gtest and GTest::gtest_main as well.
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# The folders that hold the DLLs the programs need: Qt's, and the C++ and
# GCC runtimes and the threads library of the compiler.
find_package(Qt6 REQUIRED COMPONENTS Core)
get_target_property(_qtcore Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(RILLO_QT_BIN "${_qtcore}" DIRECTORY)
get_filename_component(RILLO_QT_PLUGINS "${RILLO_QT_BIN}/../plugins" ABSOLUTE)
set(RILLO_RUNTIME_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE _path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${_path}" OR NOT EXISTS "${_path}")
    message(FATAL_ERROR "The compiler does not know where ${dll} is")
  endif()
  list(APPEND RILLO_RUNTIME_DLLS "${_path}")
endforeach()
set(_dll_folders "${RILLO_QT_BIN}")
foreach(dll IN LISTS RILLO_RUNTIME_DLLS)
  get_filename_component(_folder "${dll}" DIRECTORY)
  list(APPEND _dll_folders "${_folder}")
endforeach()
list(REMOVE_DUPLICATES _dll_folders)
string(REPLACE ";" ":" RILLO_WINE_DLL_PATH "${_dll_folders}")

# Test programs run through Wine (scripts/wine-run.sh, which holds Wine's
# settings), in a prefix of this build's own, finding the DLLs where they
# were built and Qt's plugins in Qt's folder.
set(RILLO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_COMMAND} -E env
    RILLO_WINEPREFIX=${RILLO_WINEPREFIX}
    RILLO_WINE_DLL_PATH=${RILLO_WINE_DLL_PATH}
    RILLO_WINE_PLUGINS=${RILLO_QT_PLUGINS}
    bash ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh)

# Under Wine a process costs a second or so to start, so each suite runs
# whole as one test instead of one process per test case (cmake/windows holds
# that version of GoogleTest's gtest_discover_tests).
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/windows)

# Every program gets the manifest that makes UTF-8 its ANSI code page
# (platform/windows/utf8.rc.in); added once all folders have made their targets.
set(RILLO_MANIFEST ${PROJECT_SOURCE_DIR}/platform/windows/utf8.manifest)
configure_file(${PROJECT_SOURCE_DIR}/platform/windows/utf8.rc.in ${CMAKE_BINARY_DIR}/utf8.rc @ONLY)
function(rillo_add_manifest dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/utf8.rc)
    endif()
  endforeach()
  get_property(folders DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(folder IN LISTS folders)
    rillo_add_manifest(${folder})
  endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL rillo_add_manifest ${PROJECT_SOURCE_DIR})
