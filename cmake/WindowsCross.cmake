# Cross builds for Windows (cmake/mingw-w64.cmake): the test programs run under Wine, and
# GoogleTest is built from Debian's sources with the cross compiler. Included from the
# top-level CMakeLists.txt before any target exists, so that every program gets the emulator.

# Every test command that names a program of this build runs it through tests/windows/wine.sh
# in the Wine prefix below the build folder, which the wine_prefix test (re)creates per run.
set(TALLYRA_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine CACHE PATH "Wine prefix of the test runs")
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tests/windows/wine.sh
    ${TALLYRA_WINE_PREFIX})

# Folders Wine searches for the DLLs of programs run in the build tree (WINEPATH): Qt, GMP
# and the compiler's runtime. The staged installation needs none of them.
set(_tallyra_wine_path)
foreach(_dir IN ITEMS ${TALLYRA_WIN_SDK}/qt6/bin ${TALLYRA_WIN_SDK}/gmp/bin)
    list(APPEND _tallyra_wine_path "Z:${_dir}")
endforeach()
foreach(_name IN ITEMS libstdc++-6 libwinpthread-1)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_name}.dll
        OUTPUT_VARIABLE _dll OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(_dll "${_dll}" REALPATH)
    get_filename_component(_dir "${_dll}" DIRECTORY)
    list(APPEND _tallyra_wine_path "Z:${_dir}")
endforeach()
list(REMOVE_DUPLICATES _tallyra_wine_path)
string(REPLACE "/" "\\" _tallyra_wine_path "${_tallyra_wine_path}")
# A CTest ENVIRONMENT entry: the list separator must not split it.
string(REPLACE ";" "\\;" TALLYRA_WINEPATH "${_tallyra_wine_path}")

if(TALLYRA_BUILD_TESTS)
    set(TALLYRA_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH
        "GoogleTest sources built with the cross compiler (Debian's googletest package)")
    if(NOT EXISTS ${TALLYRA_GOOGLETEST_SOURCE}/CMakeLists.txt)
        message(FATAL_ERROR "No GoogleTest sources in ${TALLYRA_GOOGLETEST_SOURCE} "
                            "(apt-get install googletest)")
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(${TALLYRA_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    foreach(_target IN ITEMS gtest gtest_main gmock gmock_main)
        # Not our code: its warnings are no errors here.
        set_target_properties(${_target} PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
        if(NOT TARGET GTest::${_target})
            add_library(GTest::${_target} ALIAS ${_target})
        endif()
    endforeach()
    set(TALLYRA_GOOGLETEST_FROM_SOURCE ON)
endif()
