# Runs the built "tallyra-cli ports" and checks its output. Arguments: -DCLI=<path>.

# With the demo device on, the list includes it, one NAME<TAB>TEXT line per port, and the
# library's diagnostics stay off standard output.
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env SERDRV_SIMULATED_PORTS=1 ${CLI} ports
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "tallyra-cli ports exited with ${rc}\n${out}\n${err}")
endif()
if(NOT out MATCHES "(^|\n)DEMO\tDEMO: Demo balance - Tallyra\n")
    message(FATAL_ERROR "DEMO is not listed:\n${out}")
endif()
string(REGEX REPLACE "\n$" "" trimmed "${out}")
string(REPLACE "\n" ";" lines "${trimmed}")
foreach(line IN LISTS lines)
    if(NOT line MATCHES "^[^\t]+\t[^\t]+$")
        message(FATAL_ERROR "not a NAME<TAB>TEXT line: '${line}'")
    endif()
endforeach()
if(NOT err MATCHES "SerialPort class loaded: serdrvLux")
    message(FATAL_ERROR "the load message should be on standard error:\n${err}")
endif()

# Without the demo device it is not listed.
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=SERDRV_SIMULATED_PORTS ${CLI} ports
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
if(NOT rc EQUAL 0 OR out MATCHES "(^|\n)DEMO\t")
    message(FATAL_ERROR "without SERDRV_SIMULATED_PORTS: exit ${rc}\n${out}")
endif()

# A driver library that cannot be loaded (the Windows one, asked for on this machine): exit 3.
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "SERDRV_OSNAME=Windows 10" ${CLI} ports
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
if(NOT rc EQUAL 3 OR NOT out STREQUAL "")
    message(FATAL_ERROR "missing library: exit ${rc}, expected 3\n${out}\n${err}")
endif()
