// Choosing and loading the driver library. Loading happens once per process, so each case runs
// in a fresh process of its own.

#include "props/Props.h"
#include "rs232/Diagnostics.h"
#include "rs232/IOException.h"
#include "rs232/PlatformNotSupported.h"
#include "rs232/SerialPortLocal.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

using rs232::SerialPortLocal;

namespace {

class LibraryLoadTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

    // In the child: the platform as given, diagnostics on standard error.
    static void platform(const char* os, const char* arch) {
        props::initFromSystem();
        props::set("SERDRV_OSNAME", os);
        props::set("SERDRV_OSARCH", arch);
        rs232::setDiagnosticSink(
            [](const std::string& l) { std::fprintf(stderr, "%s\n", l.c_str()); });
    }

    // Ends the child with 0 when the condition holds, else 1 (and says why).
    static void finish(bool ok, const char* what) {
        if (!ok)
            std::fprintf(stderr, "FAILED: %s\n", what);
        std::fflush(stderr);
        std::_Exit(ok ? 0 : 1);
    }
};

} // namespace

TEST_F(LibraryLoadTest, loadsTheLinuxLibraryFromTheProgramsFolder) {
    EXPECT_EXIT(
        {
            platform("Linux", "amd64");
            finish(SerialPortLocal::isLibraryLoaded() &&
                       SerialPortLocal::getLibraryName() == "serdrvLux64",
                   "serdrvLux64 loaded");
        },
        ::testing::ExitedWithCode(0),
        "rs232 serial library 2018\\.1\\.0\\.3 build 9233\n"
        "os\\.name=\"Linux\"  os\\.arch=\"amd64\"\n"
        "SerialPort class loaded: serdrvLux64");
}

TEST_F(LibraryLoadTest, anUnknownPlatformIsRefusedOnEveryCall) {
    // The library says why and throws; each program's main ends with -1 (see
    // PlatformRefusedCheck.cmake).
    const auto refusals = [](const std::function<void()>& call) {
        int n = 0;
        for (int i = 0; i < 2; ++i) {
            try {
                call();
            } catch (const rs232::PlatformNotSupported&) {
                ++n;
            }
        }
        return n;
    };
    EXPECT_EXIT(
        {
            platform("Plan 9", "mips");
            finish(refusals([] { SerialPortLocal::isLibraryLoaded(); }) == 2, "refused twice");
        },
        ::testing::ExitedWithCode(0),
        "osName=Plan 9 osArch=mips\nPlatform not supported, check VM properties os.name & "
        "os.arch");
    EXPECT_EXIT(
        {
            platform("Linux", "sparc");
            finish(refusals([] { SerialPortLocal::getPortList(); }) == 2, "refused twice");
        },
        ::testing::ExitedWithCode(0), "Platform not supported");
}

TEST_F(LibraryLoadTest, aMissingLibraryIsReportedAndPortsFailToOpen) {
    EXPECT_EXIT(
        {
            platform("Windows 10", "amd64"); // asks for serdrvWin, which is not built here
            const bool loaded = SerialPortLocal::isLibraryLoaded();
            std::string error;
            try {
                SerialPortLocal sp(rs232::SerialConfig("COM1"));
            } catch (const rs232::IOException& e) {
                error = e.what();
            }
            finish(!loaded &&
                       error == "COM1: SerOpenPort failed: native library serdrvWin not loaded",
                   "not loaded and open fails");
        },
        ::testing::ExitedWithCode(0),
        ": Check that native library serdrvWin is in proper directory");
}

TEST_F(LibraryLoadTest, windows7AlsoTriesTheUsersFolder) {
    EXPECT_EXIT(
        {
            platform("Windows 7", "x86");
            finish(!SerialPortLocal::isLibraryLoaded(), "not loaded");
        },
        ::testing::ExitedWithCode(0),
        ": Native library load failed serdrvWin trying user's folder\n"
        ".*: Check that native library serdrvWin is in proper directory");
}
