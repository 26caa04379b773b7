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
    # Tallyra-<version>-win64.exe; it takes NSIS's /S (silent) and /D=FOLDER (last).
    set(CPACK_GENERATOR NSIS)
    set(CPACK_VERBATIM_VARIABLES ON) # the NSIS code below as written
    set(TALLYRA_WINDOWS_INSTALLER Tallyra-${PROJECT_VERSION}-win64)
    set(CPACK_PACKAGE_FILE_NAME ${TALLYRA_WINDOWS_INSTALLER})
    set(CPACK_NSIS_DISPLAY_NAME Tallyra)
    set(CPACK_NSIS_PACKAGE_NAME Tallyra)
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
    # A 64-bit installer for a 64-bit program: it runs where 32-bit programs cannot (Wine
    # without its 32-bit part), and sees the 64-bit registry.
    set(CPACK_NSIS_DEFINES "Target amd64-unicode")
    # The layout is flat (cmake/InstallWindows.cmake): the programs are in the folder itself.
    set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
    set(CPACK_NSIS_INSTALLED_ICON_NAME tallyra.exe)
    set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
    set(CPACK_NSIS_MODIFY_PATH OFF)
    if(TARGET tallyra)
        # A Start-menu shortcut (the menu folder also gets the uninstaller's).
        set(CPACK_PACKAGE_EXECUTABLES tallyra Tallyra)
        set(CPACK_CREATE_DESKTOP_LINKS tallyra)
    endif()
    # The autostart value of the user who uninstalls would start a program that is gone; the
    # settings stay, as users expect of an uninstaller.
    set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS
        "DeleteRegValue HKCU 'Software\\Microsoft\\Windows\\CurrentVersion\\Run' 'Tallyra'")
endif()

include(CPack)
