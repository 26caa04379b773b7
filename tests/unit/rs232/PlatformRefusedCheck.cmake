# On a platform without a driver library both programs end with status -1 (255) after the serial
# library's explanation. Arguments: -DCLI=<path> -DWINDOW=<path>.
function(expect_refused)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${ARGN}
        RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
    if(NOT rc EQUAL 255 OR NOT "${out}${err}" MATCHES "Platform not supported, check VM properties")
        message(FATAL_ERROR "${ARGN}: exit ${rc}, expected 255\n${out}\n${err}")
    endif()
endfunction()
expect_refused(${CLI} "-DSERDRV_OSNAME=Plan 9" ports)
expect_refused(${WINDOW} "-DSERDRV_OSNAME=Plan 9")
