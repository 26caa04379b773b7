# Test registration of the Windows cross build: every test program runs under Wine (through the
# emulator set in cmake/WindowsCross.cmake), in the prefix the wine_prefix test makes at the
# start of each run. Included from tests/CMakeLists.txt.

# Wine hands the Unix variables named QT_* to Windows programs only with a WINE prefix.
set(TALLYRA_WINE_ENVIRONMENT
    "WINEQT_QPA_PLATFORM=offscreen"
    # The test programs do not run the programs' process set-up (platform::prepareProcess):
    # the same setting for them, or every thread that matched a pattern would crash at its end.
    "WINEQT_ENABLE_REGEXP_JIT=0"
    "WINEPATH=${TALLYRA_WINEPATH}"
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
# The test HTTPS server makes its certificates with the openssl program, a Linux program that a
# Windows test cannot start; the update check's parsing runs here in read_remote_update_test.
set(TALLYRA_WINE_SKIP_update_check_test "UpdateCheck.*")
set(TALLYRA_WINE_SKIP_link_test "Links.updateServerTextsNeverBecomeLinks")
# Check the INI file of the Linux store in an isolated folder; on Windows the store is the
# registry, which the window program's test under Wine saves to and reads back.
set(TALLYRA_WINE_SKIP_prefs_test "Records/RoundTrip.throughThePlatformStore/*")
set(TALLYRA_WINE_SKIP_settings_process_test "SharedFile.twoProcessesSavingDifferentKeysKeepBoth")
# Linux device names (/dev/null is no terminal, names with control characters do not exist);
# the Windows counterparts (a COM port that does not exist, one that is held) are checked by
# the command-line checks of tests/windows.
set(TALLYRA_WINE_SKIP_serial_port_sim_test "SimPortTest.namesThatAreNoDeviceFailToOpenWithAClearReason")
# Needs serdrvWin.dll to be absent from the program's folder, where the Windows build puts it
# for every test program; the Linux run checks the Windows 7 fallback, as serdrvWin is absent
# there.
set(TALLYRA_WINE_SKIP_serial_library_load_test "LibraryLoadTest.windows7AlsoTriesTheUsersFolder")
# SettingsPanelsTest: checks the XDG autostart file; the Run value that Windows uses is checked
# by win_session_autostart_test and by the window program's test under Wine.
# EventLogTest: Qt's offscreen platform on Windows has no font database of its own, so no font
# reports a fixed pitch there; the event log's font shows in the window program's screenshots.
set(TALLYRA_WINE_SKIP_window_test
    "SettingsPanelsTest.sessionCheckBoxWritesAndRemovesTheAutostartEntry"
    "EventLogTest.stylesHaveTheirColoursAndUnknownIsEmphasised")

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
    # The slowest program takes under a minute under Wine; a hang costs CI four, not ten.
    set_tests_properties(${name} PROPERTIES TIMEOUT 240)
endfunction()
