# Test registration of the Windows cross build: every test program runs under Wine (through the
# emulator set in cmake/WindowsCross.cmake), in the prefix the wine_prefix test makes at the
# start of each run. Included from tests/CMakeLists.txt.

set(TALLYRA_WINE_ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen"
    "WINEPATH=${TALLYRA_WINEPATH}"
    # A Windows program sees this folder as its temporary folder; one per run keeps runs apart.
    "TMP=Z:${CMAKE_BINARY_DIR}/wine-tmp"
    "TEMP=Z:${CMAKE_BINARY_DIR}/wine-tmp"
    # No display: gui tests use the offscreen platform; tests that need a display start Xvfb.
    "DISPLAY=")

# Properties of every test that runs under Wine: the label windows beside its own, the prefix.
function(tallyra_wine_test_properties test label)
    set_tests_properties(${test} PROPERTIES
        LABELS "windows;${label}"
        FIXTURES_REQUIRED wine_prefix
        ENVIRONMENT "${TALLYRA_WINE_ENVIRONMENT}")
endfunction()

# Tests that cannot mean anything under Wine, per test program, each with the reason. They are
# left out of the run with a GoogleTest filter and listed in the test's output.
set(TALLYRA_WINE_SKIPS)

# One CTest test per test program: starting a program under Wine costs a good part of a second,
# so the cases of one program run in one process rather than one process per case.
function(tallyra_emulated_test name label)
    set(filter)
    if(TALLYRA_WINE_SKIP_${name})
        list(JOIN TALLYRA_WINE_SKIP_${name} ":" filter)
        set(filter "--gtest_filter=-${filter}")
    endif()
    add_test(NAME ${name} COMMAND ${name} ${filter} --gtest_brief=1
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    tallyra_wine_test_properties(${name} ${label})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
