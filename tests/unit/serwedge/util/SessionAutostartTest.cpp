#include "serwedge/util/SessionAutostart.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <optional>

using serwedge::util::SessionAutostart;

namespace {

// Sets an environment variable for the life of the object and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<QByteArray> value)
        : name_(name),
          old_(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt) {
        set(value);
    }
    ~ScopedEnv() { set(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void set(const std::optional<QByteArray>& v) {
        if (v)
            qputenv(name_, *v);
        else
            qunsetenv(name_);
    }
    const char* name_;
    std::optional<QByteArray> old_;
};

void writeFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// desktop-file-validate's verdict on a file, or nothing when the tool is not installed.
std::optional<QString> validatorComplaints(const QString& path) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (tool.isEmpty())
        return std::nullopt;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(tool, {path});
    if (!p.waitForFinished(30000))
        return QStringLiteral("desktop-file-validate did not finish");
    const QString out = QString::fromUtf8(p.readAll()).trimmed();
    return p.exitCode() == 0 ? out : QStringLiteral("exit %1: %2").arg(p.exitCode()).arg(out);
}

} // namespace

TEST(SessionAutostart, configHomeFollowsAnAbsoluteXdgConfigHomeElseHomeDotConfig) {
    ScopedEnv home("HOME", QByteArray("/home/tester"));
    const struct {
        std::optional<QByteArray> xdg;
        QString expected;
    } cases[] = {
        {QByteArray("/srv/cfg"), "/srv/cfg"},
        {std::nullopt, "/home/tester/.config"},
        {QByteArray(""), "/home/tester/.config"},
        {QByteArray("relative/cfg"), "/home/tester/.config"},
    };
    for (const auto& c : cases) {
        ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
        EXPECT_EQ(SessionAutostart::defaultConfigHome(), c.expected)
            << (c.xdg ? c.xdg->toStdString() : "(unset)");
        EXPECT_EQ(SessionAutostart().entryPath(), c.expected + "/autostart/tallyra.desktop");
    }
}

TEST(SessionAutostart, enableWritesAValidEntryInNewPrivateFoldersAndDisableRemovesIt) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    ScopedEnv xdg("XDG_CONFIG_HOME", (tmp.path() + "/fresh/config").toUtf8());
    const SessionAutostart autostart;
    ASSERT_EQ(autostart.entryPath(), tmp.path() + "/fresh/config/autostart/tallyra.desktop");
    EXPECT_FALSE(autostart.isEnabled());

    QString error;
    ASSERT_TRUE(autostart.enable({"/usr/bin/tallyra"}, error)) << error.toStdString();
    EXPECT_TRUE(autostart.isEnabled());
    const QByteArray text = readFile(autostart.entryPath());
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nType=Application\n"));
    EXPECT_TRUE(text.contains("\nExec=/usr/bin/tallyra\n"));
    for (const QString& dir : {tmp.path() + "/fresh", tmp.path() + "/fresh/config",
                               tmp.path() + "/fresh/config/autostart"})
        EXPECT_EQ(QFileInfo(dir).permissions() &
                      (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther |
                       QFile::ExeGroup | QFile::ExeOther),
                  QFile::Permissions())
            << dir.toStdString() << " is open to others";
    if (const auto complaints = validatorComplaints(autostart.entryPath())) {
        EXPECT_TRUE(complaints->isEmpty()) << complaints->toStdString();
    }

    ASSERT_TRUE(autostart.disable(error)) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(autostart.entryPath()));
    EXPECT_FALSE(autostart.isEnabled());
    EXPECT_TRUE(autostart.disable(error)) << "removing an absent entry is no error";
}

TEST(SessionAutostart, anEntrySwitchedOffByTheDesktopCountsAsOffAndEnableSwitchesItOn) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const SessionAutostart autostart(tmp.path());
    const struct {
        const char* text;
        bool enabled;
    } cases[] = {
        {"[Desktop Entry]\nType=Application\nExec=tallyra\n", true},
        {"[Desktop Entry]\nType=Application\nExec=tallyra\nHidden=true\n", false},
        {"[Desktop Entry]\nExec=tallyra\nHidden = true\n", false},
        {"[Desktop Entry]\nExec=tallyra\nHidden=false\n", true},
        {"[Desktop Entry]\nExec=tallyra\nX-GNOME-Autostart-enabled=false\n", false},
        {"# comment\n[Desktop Entry]\nExec=tallyra\n[Desktop Action x]\nHidden=true\n", true},
        {"[Other]\nExec=tallyra\n", false},
        {"", false},
    };
    for (const auto& c : cases) {
        writeFile(autostart.entryPath(), c.text);
        EXPECT_EQ(autostart.isEnabled(), c.enabled) << c.text;
        QString error;
        ASSERT_TRUE(autostart.setEnabled(true, {"tallyra"}, error)) << error.toStdString();
        EXPECT_TRUE(autostart.isEnabled()) << "after enable over: " << c.text;
    }
}

TEST(SessionAutostart, execValueQuotesReservedCharactersAndEscapesAsDesktopEntriesAsk) {
    const struct {
        QStringList command;
        QString exec;
    } cases[] = {
        {{"/usr/bin/tallyra"}, "/usr/bin/tallyra"},
        {{"/usr/bin/tallyra", "--shared", "/dev/ttyUSB0"},
         "/usr/bin/tallyra --shared /dev/ttyUSB0"},
        {{"/opt/My Apps/tallyra"}, R"("/opt/My Apps/tallyra")"},
        {{"/opt/a\"b/tallyra"}, R"("/opt/a\\"b/tallyra")"},
        {{"/opt/$HOME/tallyra"}, R"("/opt/\\$HOME/tallyra")"},
        {{"/opt/back\\slash/tallyra"}, R"("/opt/back\\\\slash/tallyra")"},
        {{"/opt/it's/tallyra"}, R"("/opt/it's/tallyra")"},
        {{"/opt/100%/tallyra"}, "/opt/100%%/tallyra"},
        {{"/opt/100% sure/tallyra"}, R"("/opt/100%% sure/tallyra")"},
        {{"tallyra", ""}, R"(tallyra "")"},
        {{"tallyra", "-DKEY=a;b"}, R"(tallyra "-DKEY=a;b")"},
        {{"/opt/new\nline"}, R"("/opt/new\nline")"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SessionAutostart::execValue(c.command), c.exec)
            << c.command.join(" | ").toStdString();
}

// The validator checks that reserved characters stay inside quotes and that escapes are known.
TEST(SessionAutostart, entriesForAwkwardProgramPathsValidate) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    if (!validatorComplaints(tmp.path() + "/none"))
        GTEST_SKIP() << "desktop-file-validate is not installed";
    const SessionAutostart autostart(tmp.path());
    for (const QStringList& command :
         {QStringList{"/opt/My Apps/tallyra"}, QStringList{"/opt/a\"b$c`d\\e/tallyra", "--demo"},
          QStringList{"/opt/100% (x86)/tallyra", "-DKEY=a;b", ""}}) {
        QString error;
        ASSERT_TRUE(autostart.enable(command, error)) << error.toStdString();
        const auto complaints = validatorComplaints(autostart.entryPath());
        ASSERT_TRUE(complaints);
        EXPECT_TRUE(complaints->isEmpty())
            << command.join(" | ").toStdString() << ": " << complaints->toStdString() << "\n"
            << readFile(autostart.entryPath()).toStdString();
    }
}

TEST(SessionAutostart, enableFailsWithAReasonAndWritesNothingWhenTheFolderCannotBeMade) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    // The configuration folder is taken by a plain file.
    writeFile(tmp.path() + "/config", "not a folder");
    const SessionAutostart blocked(tmp.path() + "/config");
    QString error;
    EXPECT_FALSE(blocked.enable({"/usr/bin/tallyra"}, error));
    EXPECT_TRUE(error.contains(tmp.path() + "/config")) << error.toStdString();
    EXPECT_FALSE(blocked.isEnabled());
    EXPECT_EQ(readFile(tmp.path() + "/config"), "not a folder");

    const SessionAutostart fine(tmp.path() + "/ok");
    error.clear();
    EXPECT_FALSE(fine.enable({}, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(fine.entryPath()));
}
