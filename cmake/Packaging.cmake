# CPack: a Debian package on Linux (install prefix /usr), an NSIS installer on Windows.
# Build it from a configured and built tree with `cpack` (or `cpack -B DIR` for another folder).

set(CPACK_PACKAGE_NAME tallyra)
set(CPACK_PACKAGE_VENDOR "Brindle")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keyboard wedge for measuring instruments")
# Lines of the long description stay under 80 characters, as Debian asks.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Tallyra reads the lines of text that balances, scales, gauges and barcode"
    "readers send over a serial port, finds the value in each line with the"
    "instrument's regular expression, transforms it (editing, arithmetic,"
    "rounding, decimal separator, duplicate suppression) and types it as key"
    "presses into the application that has the keyboard focus."
    ""
    "This package contains the window program, the command-line tool"
    "tallyra-cli and the serial driver library.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tallyra)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)

if(UNIX AND NOT APPLE)
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_PACKAGE_NAME tallyra)
    set(CPACK_DEBIAN_PACKAGE_RELEASE ${TALLYRA_DEB_RELEASE})
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TALLYRA_PACKAGE_MAINTAINER}")
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # Qt, GMP, libXtst, FluidSynth and the C++ runtime from the programs' ELF dependencies;
    # the soundfont is opened by path (/usr/share/sounds/sf2/default-GM.sf2), so it is named.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont | sf2-soundfont-gm")
elseif(WIN32)
    set(CPACK_GENERATOR NSIS)
    set(CPACK_NSIS_DISPLAY_NAME Tallyra)
    set(CPACK_NSIS_PACKAGE_NAME Tallyra)
    set(CPACK_NSIS_INSTALLED_ICON_NAME bin\\\\tallyra.exe)
    set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
    set(CPACK_NSIS_MODIFY_PATH OFF)
    if(TARGET tallyra)
        set(CPACK_PACKAGE_EXECUTABLES tallyra Tallyra)
        set(CPACK_CREATE_DESKTOP_LINKS tallyra)
    endif()
endif()

include(CPack)
