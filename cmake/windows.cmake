# The Windows build (see cmake/mingw-w64-x86_64.cmake): pellmar.exe with the
# command line, GoogleTest built for the target, and the tests run under
# Wine in a prefix of this build's own (scripts/test-windows.sh prepares it
# and keeps its server running while CTest works).

set(pellmar_os win32)
enable_language(RC)
# The walk names files relative to open folders through the native calls
# the Win32 API is built on.
target_link_libraries(pellmar_platform PUBLIC ntdll)
# Tests of objects Windows does not have (bind mounts, the drive table, the
# Linux program: *_posix_test.cc) and of the Qt skin.
set(pellmar_other_os_tests "_posix_test\\.cc$|/(app|qt)/|/core/identity_safety_test\\.cc$")

# GoogleTest from its sources (Debian's googletest package puts them in
# /usr/src/googletest), compiled for the target; it names its targets
# GTest::gtest, GTest::gmock and GTest::gtest_main itself.
find_path(PELLMAR_GOOGLETEST_SOURCE NAMES googletest/CMakeLists.txt
          PATHS /usr/src/googletest /usr/local/src/googletest
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
          DOC "GoogleTest's source folder, built for the Windows tests")
if(NOT PELLMAR_GOOGLETEST_SOURCE)
  message(FATAL_ERROR "GoogleTest's sources are missing: install Debian's googletest "
                      "or pass -DPELLMAR_GOOGLETEST_SOURCE=<folder>")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${PELLMAR_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(library gtest gmock gtest_main gmock_main)
  target_compile_options(${library} PRIVATE -w)  # not our code; its warnings are not ours to fix
endforeach()

# Wine runs every test program. Its prefix, and the HOME it links the
# user's folders to, live in this build, never in the tester's home.
set(pellmar_wine_environment
    WINEPREFIX=${CMAKE_BINARY_DIR}/wine HOME=${CMAKE_BINARY_DIR}/wine-home WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml=)
# Debian's Wine comes without the preloader that reserves the Windows
# address ranges before Linux places a process's libraries at random; about
# one start in a thousand then ends at once with status 1 and no output.
# Without the randomness every start finds those ranges free.
set(CMAKE_CROSSCOMPILING_EMULATOR env ${pellmar_wine_environment} setarch x86_64 -R wine)
# Listed when CTest runs, with Wine's server already up: listing them at
# build time would start Wine under the build tool.
set(pellmar_discovery_mode DISCOVERY_MODE PRE_TEST)

# The native skin: the same control objects as every front end, bound to
# Win32 windows.
pellmar_library(pellmar_win32 src/ui/win32/*.cc)
target_link_libraries(pellmar_win32 PUBLIC pellmar_ui pellmar_platform comctl32 gdi32 ole32 uuid)

pellmar_sources(pellmar_app_sources src/app/*.cc src/app/win32/*.cc)
list(FILTER pellmar_app_sources EXCLUDE REGEX "/gui\\.cc$")
add_library(pellmar_app STATIC ${pellmar_app_sources})
target_link_libraries(pellmar_app PUBLIC pellmar_ui pellmar_win32)

# The manifest, version and icon, compiled by the toolchain's windres.
set(pellmar_resource_script ${CMAKE_SOURCE_DIR}/resources/windows/pellmar.rc)

# A console program, so cmd.exe and PowerShell wait for it, its output can
# be piped and its exit code read (see the README); without a verb it opens
# the window.
add_executable(pellmar src/app/win32/main.cc ${pellmar_resource_script})
target_link_options(pellmar PRIVATE -municode)
target_link_libraries(pellmar PRIVATE pellmar_app)

# Its window twin for Explorer and the Start menu: no console appears.
add_executable(pellmarw WIN32 src/app/win32/main.cc ${pellmar_resource_script})
target_link_options(pellmarw PRIVATE -municode -mwindows)
target_link_libraries(pellmarw PRIVATE pellmar_app)

# The command line end to end: list, send and load on real folders behind a
# real drive letter, with Japanese names.
add_test(NAME windows.end_to_end COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/end_to_end_test.sh)
set_tests_properties(windows.end_to_end PROPERTIES
  ENVIRONMENT "PELLMAR_BINARY=$<TARGET_FILE:pellmar>;PELLMAR_BUILD_DIR=${CMAKE_BINARY_DIR}"
  TIMEOUT 300)

# The code-page test reads files as a Japanese Windows writes them: under
# Wine, the locale ja_JP gives the ANSI code page 932. Read by CTest after
# the discovered tests exist, so deferred to the end of the configuration.
set(pellmar_windows_test_file ${CMAKE_BINARY_DIR}/pellmar_windows_tests.cmake)
file(WRITE ${pellmar_windows_test_file}
     "set_tests_properties(Host/PlatformContract.FilesInTheAnsiCodePageReadAsTheirText/Win32 PROPERTIES "
     "ENVIRONMENT \"LANG=ja_JP.UTF-8;LC_ALL=ja_JP.UTF-8\")\n")
cmake_language(DEFER CALL set_property DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES
               ${pellmar_windows_test_file})
