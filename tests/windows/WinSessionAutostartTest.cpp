// Session autostart on Windows: the Run value, Explorer's switch, and the command line read back
// by the system's own parser.

#include "serwedge/util/SessionAutostart.h"

#include <gtest/gtest.h>

#include <QUuid>

#include <windows.h>

using serwedge::util::SessionAutostart;

namespace {

// A Run key of its own below HKEY_CURRENT_USER, removed afterwards.
class WinAutostart : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, base.toStdWString().c_str()); }

    QString read(const QString& key, DWORD type) const {
        wchar_t buffer[1024] = {};
        DWORD size = sizeof buffer;
        const DWORD flags = type == REG_SZ ? RRF_RT_REG_SZ : RRF_RT_REG_BINARY;
        if (RegGetValueW(HKEY_CURRENT_USER, key.toStdWString().c_str(), L"Tallyra", flags, nullptr,
                         buffer, &size) != ERROR_SUCCESS)
            return QStringLiteral("(none)");
        return type == REG_SZ ? QString::fromWCharArray(buffer)
                              : QString::number(reinterpret_cast<BYTE*>(buffer)[0]);
    }

    void approve(BYTE first) const {
        const BYTE data[12] = {first};
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, approval.toStdWString().c_str(), L"Tallyra",
                                  REG_BINARY, data, sizeof data),
                  ERROR_SUCCESS);
    }

    const QString base =
        QStringLiteral("Software\\TallyraTest-") + QUuid::createUuid().toString(QUuid::Id128);
    const QString run = base + QStringLiteral("\\CurrentVersion\\Run");
    const QString approval =
        base + QStringLiteral("\\CurrentVersion\\Explorer\\StartupApproved\\Run");
    const SessionAutostart autostart{run};
};

} // namespace

TEST_F(WinAutostart, theUsersEntryIsTheTallyraValueOfTheRunKey) {
    EXPECT_EQ(SessionAutostart().entryPath(),
              "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Tallyra");
}

TEST_F(WinAutostart, enableWritesTheCommandLineAndDisableRemovesIt) {
    EXPECT_FALSE(autostart.isEnabled());
    QString error;
    ASSERT_TRUE(autostart.enable({"C:\\Program Files\\Tallyra\\tallyra.exe", "--shared"}, error))
        << error.toStdString();
    EXPECT_EQ(read(run, REG_SZ), R"("C:\Program Files\Tallyra\tallyra.exe" --shared)");
    EXPECT_TRUE(autostart.isEnabled());
    ASSERT_TRUE(autostart.disable(error)) << error.toStdString();
    EXPECT_EQ(read(run, REG_SZ), "(none)");
    EXPECT_FALSE(autostart.isEnabled());
    EXPECT_TRUE(autostart.disable(error)) << "removing an absent entry is no error";
    EXPECT_FALSE(autostart.enable({}, error));
    EXPECT_EQ(read(run, REG_SZ), "(none)");
}

TEST_F(WinAutostart, anEntrySwitchedOffInExplorerCountsAsOffUntilEnabledAgain) {
    QString error;
    ASSERT_TRUE(autostart.enable({"C:\\Tallyra\\tallyra.exe"}, error));
    approve(3);
    EXPECT_FALSE(autostart.isEnabled());
    approve(2);
    EXPECT_TRUE(autostart.isEnabled());
    approve(3);
    ASSERT_TRUE(autostart.enable({"C:\\Tallyra\\tallyra.exe"}, error));
    EXPECT_EQ(read(approval, REG_BINARY), "(none)");
    EXPECT_TRUE(autostart.isEnabled());
}

TEST_F(WinAutostart, theSystemsParserGivesBackEveryArgument) {
    const QStringList awkward[] = {
        {"C:\\Program Files (x86)\\Tallyra\\tallyra.exe", "COM3"},
        {"C:\\Tallyra\\tallyra.exe", "", "two words", "tab\there"},
        {"C:\\Tallyra\\tallyra.exe", "say \"hi\"", "C:\\dir\\", "C:\\dir with space\\"},
        {"C:\\Tallyra\\tallyra.exe", "a\\\\\"b", "\\\\server\\share", "-DKEY=a;b"},
    };
    for (const QStringList& command : awkward) {
        const QString line = SessionAutostart::commandLine(command);
        int argc = 0;
        wchar_t** argv = CommandLineToArgvW(line.toStdWString().c_str(), &argc);
        ASSERT_NE(argv, nullptr);
        QStringList parsed;
        for (int i = 0; i < argc; ++i)
            parsed << QString::fromWCharArray(argv[i]);
        LocalFree(argv);
        EXPECT_EQ(parsed, command) << line.toStdString();
    }
}
