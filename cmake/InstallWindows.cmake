# Windows install layout: the programs, serdrvWin.dll and every DLL they need in bin/, where
# the loader looks for the driver library first. Included from Install.cmake.

install(TARGETS serdrv RUNTIME DESTINATION bin LIBRARY DESTINATION bin)

set(TALLYRA_WINDOWS_DLL_DIRS "" CACHE STRING
    "Further folders with DLLs the programs need (for example where GMP is installed)")

# Every DLL the programs load that is not part of Windows (Qt, GMP, and with MinGW its C++
# runtime and winpthread), with the DLLs those need in turn (with MSYS2's Qt: ICU, PCRE2, zstd,
# ..., which windeployqt leaves out), from the compiler's and Qt's folders. windeployqt then adds
# the Qt plugins.
get_filename_component(_tallyra_compiler_bin "${CMAKE_CXX_COMPILER}" DIRECTORY)
get_target_property(_tallyra_qmake Qt6::qmake IMPORTED_LOCATION)
get_filename_component(_tallyra_qt_bin "${_tallyra_qmake}" DIRECTORY)
install(TARGETS ${_tallyra_programs}
    RUNTIME_DEPENDENCIES
        PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-"
        POST_EXCLUDE_REGEXES "[Ss]ystem32" "[Ss]ys[Ww][Oo][Ww]64"
        DIRECTORIES ${_tallyra_compiler_bin} ${_tallyra_qt_bin} ${TALLYRA_WINDOWS_DLL_DIRS}
    RUNTIME DESTINATION bin)

# The MSVC runtime, when built with MSVC (nothing for MinGW, whose runtime comes above).
set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION bin)
include(InstallRequiredSystemLibraries)

# windeployqt copies the Qt plugins (platform, styles, TLS, image formats) and Qt's own
# translations beside the programs, in the install tree (and so in the CPack package).
find_program(TALLYRA_WINDEPLOYQT NAMES windeployqt windeployqt6 windeployqt-qt6
    HINTS ${_tallyra_qt_bin} REQUIRED)
foreach(_program IN LISTS _tallyra_programs)
    install(CODE "
        set(_bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
        execute_process(
            COMMAND \"${TALLYRA_WINDEPLOYQT}\" --no-compiler-runtime --dir \"\${_bin}\"
                    \"\${_bin}/${_program}.exe\"
            COMMAND_ERROR_IS_FATAL ANY)
    ")
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
