# Windows install layout, flat as Windows programs are: the programs, serdrvWin.dll and every
# DLL they need side by side in the installation folder (where the driver loader and Windows'
# own DLL search look first), Qt's plugins in their folders beside them (Qt looks for plugins
# in the program's folder), the licences in licenses/. Included from Install.cmake.
#
# The DLLs are named here rather than collected by windeployqt, which a cross build does not
# have: the Qt modules the programs link, the plugins they load, GMP, and the compiler's
# runtime. cmake/WindowsStageCheck.cmake checks afterwards that the staged folder is complete.

install(TARGETS ${_tallyra_programs} RUNTIME DESTINATION .)
install(TARGETS serdrv RUNTIME DESTINATION . LIBRARY DESTINATION .)

# Qt: the DLL of each module the programs link, found through its imported target.
set(_tallyra_qt_dlls)
foreach(_module IN ITEMS Core Gui Widgets Network)
    get_target_property(_dll Qt6::${_module} IMPORTED_LOCATION_RELEASE)
    if(NOT _dll)
        get_target_property(_dll Qt6::${_module} IMPORTED_LOCATION)
    endif()
    list(APPEND _tallyra_qt_dlls ${_dll})
endforeach()
install(FILES ${_tallyra_qt_dlls} DESTINATION .)

# Qt plugins: the window system, the native widget style, TLS for the update check (Schannel,
# so no OpenSSL to ship), and the image formats for the icons. Each from its imported target,
# into the folder of its plugin type (platforms/, styles/, tls/, imageformats/).
foreach(_plugin IN ITEMS QWindowsIntegrationPlugin QWindowsVistaStylePlugin
                         QSchannelBackendPlugin QTlsBackendCertOnlyPlugin QICOPlugin QGifPlugin
                         QJpegPlugin)
    if(NOT TARGET Qt6::${_plugin})
        if(_plugin STREQUAL "QWindowsIntegrationPlugin")
            message(FATAL_ERROR "Qt's Windows platform plugin (Qt6::${_plugin}) is missing")
        endif()
        continue()
    endif()
    get_target_property(_dll Qt6::${_plugin} IMPORTED_LOCATION_RELEASE)
    if(NOT _dll)
        get_target_property(_dll Qt6::${_plugin} IMPORTED_LOCATION)
    endif()
    get_filename_component(_dir "${_dll}" DIRECTORY)
    get_filename_component(_type "${_dir}" NAME)
    install(FILES ${_dll} DESTINATION ${_type})
endforeach()

# GMP and its C++ interface, from the folder beside the import libraries pkg-config names.
set(_tallyra_gmp_hints)
foreach(_dir IN LISTS GMPXX_LIBRARY_DIRS)
    list(APPEND _tallyra_gmp_hints "${_dir}/../bin" "${_dir}")
endforeach()
foreach(_name IN ITEMS libgmp-10 libgmpxx-4)
    find_file(TALLYRA_DLL_${_name} ${_name}.dll HINTS ${_tallyra_gmp_hints} PATH_SUFFIXES bin
        NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    install(FILES ${TALLYRA_DLL_${_name}} DESTINATION .)
endforeach()

# The MinGW C++ runtime and winpthread, as the compiler itself names them (the posix flavour
# keeps them in folders of its own); nothing for MSVC, whose runtime comes below.
if(MINGW)
    foreach(_name IN ITEMS libstdc++-6 libgcc_s_seh-1 libwinpthread-1)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_name}.dll
            OUTPUT_VARIABLE _dll OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${_dll}" OR NOT EXISTS "${_dll}")
            message(FATAL_ERROR "The compiler does not know where ${_name}.dll is")
        endif()
        get_filename_component(_dll "${_dll}" REALPATH)
        install(FILES ${_dll} DESTINATION .)
    endforeach()
endif()
set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION .)
include(InstallRequiredSystemLibraries)

# A native build against a Qt that needs more DLLs (MSYS2's: ICU, PCRE2, zstd, ...) names their
# folders here; every DLL the programs need from them is installed too.
set(TALLYRA_WINDOWS_DLL_DIRS "" CACHE STRING
    "Further folders with DLLs the programs need, searched when building on Windows itself")
if(NOT CMAKE_CROSSCOMPILING AND TALLYRA_WINDOWS_DLL_DIRS)
    install(TARGETS ${_tallyra_programs}
        RUNTIME_DEPENDENCIES
            PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-"
            POST_EXCLUDE_REGEXES "[Ss]ystem32" "[Ss]ys[Ww][Oo][Ww]64"
            DIRECTORIES ${TALLYRA_WINDOWS_DLL_DIRS}
        RUNTIME DESTINATION .)
endif()

# Licences: ours, and the notices for the libraries shipped with it (LGPL for Qt and GMP, the
# GCC runtime exception) with the licence texts they refer to.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION licenses RENAME LICENSE.txt)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/windows/licenses/ DESTINATION licenses)

# The message catalogues are compiled into the programs. A cross build makes them with the
# build machine's lrelease, found through QT_HOST_PATH (the SDK has no Qt tools of its own).
if(CMAKE_CROSSCOMPILING)
    get_target_property(_tallyra_lrelease Qt6::lrelease IMPORTED_LOCATION)
    if(NOT _tallyra_lrelease OR NOT EXISTS "${_tallyra_lrelease}")
        message(FATAL_ERROR "No host lrelease for the catalogues (QT_HOST_PATH=${QT_HOST_PATH})")
    endif()
    message(STATUS "Catalogues built with ${_tallyra_lrelease}")
endif()
