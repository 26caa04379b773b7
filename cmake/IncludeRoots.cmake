# Every library has an include root of its own: a folder in the build tree that holds only the
# library's source folder (as a symbolic link), so that "#include "worker/Keybot.h"" resolves in
# a target exactly when it links tallyra_worker. A layer that includes what it may not use fails
# to build (tests/layering proves it).

# tallyra_include_root(TARGET FOLDER): FOLDER is relative to src/, for example "serwedge/prefs".
function(tallyra_include_root target folder)
    set(root ${CMAKE_BINARY_DIR}/include-roots/${target})
    set(link ${root}/${folder})
    get_filename_component(parent ${link} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${link} SYMBOLIC RESULT result)
    if(NOT result EQUAL 0)
        # A file system without links (some Windows set-ups): build, but without the fence.
        message(WARNING "no link ${link} (${result}): ${target} sees all of src/")
        set(root ${PROJECT_SOURCE_DIR}/src)
    endif()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${root})
    elseif(type STREQUAL "EXECUTABLE")
        target_include_directories(${target} PRIVATE ${root})
    else()
        target_include_directories(${target} PUBLIC ${root})
    endif()
endfunction()
