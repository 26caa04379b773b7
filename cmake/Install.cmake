# Install layout, the same under any prefix:
#   bin/                 tallyra, tallyra-cli
#   lib/tallyra/         the driver library (private; the loader looks in ../lib/tallyra
#                        beside the executable, so the folder is fixed, not the multiarch libdir)
#   share/applications, share/metainfo, share/icons/hicolor, share/man/man1, share/doc/tallyra
# On Windows everything goes beside the executables (the loader looks there first).
# The window program and its icons are installed when they exist in this tree.

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(TALLYRA_PACKAGE_MAINTAINER "Tallyra maintainers <maintainers@tallyra.example.org>"
    CACHE STRING "Maintainer named in the Debian package and its changelog")
set(TALLYRA_DEB_RELEASE 1)

set(_tallyra_programs tallyra-cli)
if(TARGET tallyra)
    list(APPEND _tallyra_programs tallyra)
endif()

if(WIN32)
    include(cmake/InstallWindows.cmake)
    return()
endif()

# No run path: the programs link only system libraries, and the loader finds the driver library
# itself (qt_standard_project_setup would give them $ORIGIN:$ORIGIN/../lib).
set_target_properties(${_tallyra_programs} serdrv PROPERTIES INSTALL_RPATH "")
# What is installed gets a read-only relocation table, as distributions build their programs.
foreach(_target IN LISTS _tallyra_programs ITEMS serdrv)
    target_link_options(${_target} PRIVATE LINKER:-z,relro LINKER:-z,now)
endforeach()
install(TARGETS ${_tallyra_programs} RUNTIME DESTINATION bin)
# A shared library is not a program: mode 644, as Debian wants it.
install(TARGETS serdrv
    LIBRARY DESTINATION lib/tallyra
    PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

if(APPLE)
    return()
endif()

# Desktop integration, manual pages and the Debian documentation files.
set(_res ${PROJECT_SOURCE_DIR}/resources)
set(_out ${PROJECT_BINARY_DIR}/install-files)
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(_generated)

# Compresses SRC into ${_out}/NAME.gz without a time stamp (gzip -n), so that packages built
# from the same sources are identical.
function(tallyra_gzip src name)
    add_custom_command(OUTPUT ${_out}/${name}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${src} ${_out}/${name}
        COMMAND ${GZIP_EXECUTABLE} -9nf ${_out}/${name}
        DEPENDS ${src}
        COMMENT "Compressing ${name}"
        VERBATIM)
    set(_generated ${_generated} ${_out}/${name}.gz PARENT_SCOPE)
endfunction()

tallyra_gzip(${_res}/man/tallyra-cli.1 tallyra-cli.1)
install(FILES ${_out}/tallyra-cli.1.gz DESTINATION share/man/man1)

set(TALLYRA_DEB_VERSION ${PROJECT_VERSION}-${TALLYRA_DEB_RELEASE})
configure_file(${_res}/debian/changelog.in ${_out}/src/changelog.Debian @ONLY)
tallyra_gzip(${_out}/src/changelog.Debian changelog.Debian)
install(FILES ${_out}/changelog.Debian.gz ${_res}/debian/copyright DESTINATION share/doc/tallyra)
# A systemd unit for a headless station that publishes to MQTT: an example to adapt.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tallyra-station.service
    DESTINATION share/doc/tallyra/examples)

if(TARGET tallyra)
    tallyra_gzip(${_res}/man/tallyra.1 tallyra.1)
    install(FILES ${_out}/tallyra.1.gz DESTINATION share/man/man1)
    install(FILES ${_res}/tallyra.desktop DESTINATION share/applications)
    install(FILES ${_res}/com.brindle.Tallyra.metainfo.xml DESTINATION share/metainfo)
endif()

# Icons in the freedesktop theme sizes, all from the one drawing: the committed window icons
# where there is one of that size, the other sizes rendered at build time.
set(_svg ${_res}/icons/tallyra.svg)
if(EXISTS ${_svg})
    set(_render_sizes)
    foreach(size IN ITEMS 16 24 32 48 64 128 256)
        set(_dir share/icons/hicolor/${size}x${size}/apps)
        if(EXISTS ${_res}/icons/Tallyra${size}.png)
            install(FILES ${_res}/icons/Tallyra${size}.png DESTINATION ${_dir} RENAME tallyra.png)
        else()
            list(APPEND _render_sizes ${size})
            install(FILES ${_out}/icons/tallyra-${size}.png DESTINATION ${_dir} RENAME tallyra.png)
        endif()
    endforeach()
    install(FILES ${_svg} DESTINATION share/icons/hicolor/scalable/apps)
    if(_render_sizes)
        find_program(RSVG_CONVERT_EXECUTABLE rsvg-convert REQUIRED)
        set(_pngs ${_render_sizes})
        list(TRANSFORM _pngs REPLACE "(.+)" "${_out}/icons/tallyra-\\1.png")
        add_custom_command(OUTPUT ${_pngs}
            COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/render-icons.sh ${_svg} ${_out}/icons
                    ${_render_sizes}
            DEPENDS ${_svg} ${PROJECT_SOURCE_DIR}/scripts/render-icons.sh
            COMMENT "Rendering the icon in sizes ${_render_sizes}"
            VERBATIM)
        list(APPEND _generated ${_pngs})
    endif()
endif()

add_custom_target(tallyra_install_files ALL DEPENDS ${_generated})
