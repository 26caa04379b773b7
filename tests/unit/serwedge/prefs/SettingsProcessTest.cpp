// Several tallyra-cli processes writing one shared settings file.

#include "PrefsTestSupport.h"

#include "serwedge/prefs/FilePreferences.h"
#include "serwedge/prefs/MemoryPreferences.h"
#include "serwedge/prefs/Properties.h"
#include "serwedge/prefs/QSettingsPreferences.h"
#include "serwedge/prefs/SettingsStore.h"

#include <QBuffer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QThread>

#include <random>

using namespace prefstest;
using serwedge::prefs::MemoryPreferences;
using serwedge::prefs::SettingsStore;

namespace {

const QString kCli = QStringLiteral(TALLYRA_BINARY_DIR "/bin/tallyra-cli");
const QString kPrefix = QStringLiteral("com.brindle.Tallyra.");

class SharedFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::exists(kCli)) << kCli.toStdString();
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ProgramData"), dir.filePath(QStringLiteral("pd")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("cfg")));
    }

    QString sharedFile() const {
        return dir.filePath(QStringLiteral("pd/Brindle/TallyraCrew/prefs.txt"));
    }

    // An export file holding the record, and the entries it stands for.
    QMap<QString, QString> writeExport(const QString& name, const Config& config) {
        MemoryPreferences root;
        SettingsStore store(root);
        store.saveConfig(config);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        store.exportTo(buffer);
        writeAll(dir.filePath(name), buffer.data());
        QMap<QString, QString> entries;
        for (const QString& key : store.node().keys()) {
            entries.insert(kPrefix + key, store.node().get(key, {}));
        }
        return entries;
    }

    // An export file holding only the given entries.
    void writeEntries(const QString& name, const QList<std::pair<QString, QString>>& entries) {
        MemoryPreferences root;
        SettingsStore(root).node().putAll(entries);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        SettingsStore(root).exportTo(buffer);
        writeAll(dir.filePath(name), buffer.data());
    }

    std::unique_ptr<QProcess> startImport(const QString& name, bool shared = true) {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env);
        p->setProgram(kCli);
        p->setArguments({QStringLiteral("settings"), QStringLiteral("import"), dir.filePath(name)});
        if (shared) {
            p->setArguments(p->arguments() << QStringLiteral("--shared"));
        }
        p->start();
        EXPECT_TRUE(p->waitForStarted(10000));
        return p;
    }

    static void expectFinishedWell(QProcess& p) {
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    }

    // The settings entries of the shared file; fails the test when it does not parse.
    QMap<QString, QString> settingsInFile() {
        const QByteArray bytes = readAll(sharedFile());
        EXPECT_TRUE(bytes.startsWith("#FilePreferences\n"));
        QMap<QString, QString> all;
        try {
            all = serwedge::prefs::properties::parse(bytes);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "the file does not parse: " << e.what();
        }
        QMap<QString, QString> ours;
        for (auto it = all.begin(); it != all.end(); ++it) {
            if (it.key().startsWith(kPrefix)) {
                ours.insert(it.key(), it.value());
            }
        }
        return ours;
    }

    QTemporaryDir dir;
    QProcessEnvironment env;
};

Config variant(int n) {
    Config c = unusualConfig();
    c.setPort(QStringLiteral("COM%1").arg(n));
    c.setDelay(QString::number(n));
    c.setCustomRegEx(QStringLiteral("set %1 ([0-9]+)").arg(n));
    return c;
}

} // namespace

TEST_F(SharedFile, twoProcessesSavingAtOnceLeaveOneCompleteSet) {
    const auto a = writeExport(QStringLiteral("a.xml"), variant(1));
    const auto b = writeExport(QStringLiteral("b.xml"), variant(2));
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        auto first = startImport(QStringLiteral("a.xml"));
        auto second = startImport(QStringLiteral("b.xml"));
        expectFinishedWell(*first);
        expectFinishedWell(*second);
        const auto inFile = settingsInFile();
        ASSERT_TRUE(inFile == a || inFile == b) << "a mixture of the two sets";
    }
}

// This process loads the settings; another one changes one of them; this process then saves a
// different one: each keeps the other's change, in the shared file and in the platform store.
TEST_F(SharedFile, twoProcessesSavingDifferentKeysKeepBoth) {
    const QString conf = dir.filePath(QStringLiteral("cfg/brindle/Tallyra.conf"));
    for (const bool shared : {true, false}) {
        writeEntries(QStringLiteral("base.xml"), {{"delay", "1"}, {"bitRate", "1"}});
        writeEntries(QStringLiteral("delay.xml"), {{"delay", "35"}});
        expectFinishedWell(*startImport(QStringLiteral("base.xml"), shared));
        serwedge::prefs::FilePreferencesFactory file(sharedFile());
        serwedge::prefs::QSettingsPreferences platform(
            [conf] { return std::make_unique<QSettings>(conf, QSettings::IniFormat); });
        SettingsStore store(shared ? file.userRoot() : platform);
        Config config;
        store.loadConfig(config, {});
        expectFinishedWell(*startImport(QStringLiteral("delay.xml"), shared));
        config.setBitRate(3);
        store.saveConfig(config);

        QProcess show;
        show.setProcessEnvironment(env);
        show.start(kCli, shared ? QStringList{"settings", "show", "--shared"}
                                : QStringList{"settings", "show"});
        expectFinishedWell(show);
        const QString shown = QString::fromUtf8(show.readAllStandardOutput());
        EXPECT_TRUE(shown.contains("\ndelay=35\n") && shown.contains("bitRate=3\n"))
            << shared << shown.toStdString();
    }
}

TEST_F(SharedFile, aProcessKilledWhileSavingLeavesAReadableFileOfOldAndNewValues) {
    // Long values make each rewrite of the file take a while, so that kills land inside writes.
    Config big = variant(3);
    big.setCustomRegEx(QStringLiteral("(x)") + QString(8000, QLatin1Char('y')));
    big.setRemoveCharacters(QString(8000, QLatin1Char('z')));
    big.setIgnoreDifference(QStringLiteral("0.") + QString(990, QLatin1Char('1')));
    const auto oldSet = writeExport(QStringLiteral("old.xml"), variant(4));
    const auto newSet = writeExport(QStringLiteral("new.xml"), big);
    ASSERT_EQ(oldSet.keys(), newSet.keys());

    std::mt19937 random(7);
    std::uniform_int_distribution<int> delayMs(5, 120);
    int killedMidway = 0;
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        expectFinishedWell(*startImport(QStringLiteral("old.xml")));
        auto p = startImport(QStringLiteral("new.xml"));
        QThread::msleep(static_cast<unsigned long>(delayMs(random)));
        if (p->state() == QProcess::Running) {
            ++killedMidway;
        }
        p->kill();
        p->waitForFinished(10000);

        const auto inFile = settingsInFile();
        ASSERT_EQ(inFile.keys(), oldSet.keys());
        for (auto it = inFile.begin(); it != inFile.end(); ++it) {
            EXPECT_TRUE(it.value() == oldSet.value(it.key()) ||
                        it.value() == newSet.value(it.key()))
                << it.key().toStdString() << " holds a value of neither set";
        }
        // The dead process's lock does not block the next save.
        expectFinishedWell(*startImport(QStringLiteral("new.xml")));
        EXPECT_EQ(settingsInFile(), newSet);
    }
    EXPECT_GT(killedMidway, 0) << "no process was killed while it ran";
}

TEST_F(SharedFile, theCommandLineShowsExportsAndReportsBadImports) {
    writeExport(QStringLiteral("a.xml"), variant(5));
    expectFinishedWell(*startImport(QStringLiteral("a.xml")));

    QProcess show;
    show.setProcessEnvironment(env);
    show.start(kCli,
               {QStringLiteral("settings"), QStringLiteral("show"), QStringLiteral("--shared")});
    expectFinishedWell(show);
    const QString shown = QString::fromUtf8(show.readAllStandardOutput());
    EXPECT_TRUE(shown.contains(QStringLiteral("\ndelay=5\n"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("port=COM5\n")));

    QProcess exporter;
    exporter.setProcessEnvironment(env);
    const QString out = dir.filePath(QStringLiteral("out.xml"));
    exporter.start(kCli, {QStringLiteral("settings"), QStringLiteral("export"), out,
                          QStringLiteral("--shared")});
    expectFinishedWell(exporter);
    QString error;
    const auto loaded = serwedge::prefs::loadConfigFromExport(out, {QStringLiteral("X")}, &error);
    ASSERT_TRUE(loaded) << error.toStdString();
    expectSameConfig(*loaded, variant(5));

    writeAll(dir.filePath(QStringLiteral("bad.xml")), "<preferences><root type=\"user\">");
    auto bad = startImport(QStringLiteral("bad.xml"));
    ASSERT_TRUE(bad->waitForFinished(60000));
    EXPECT_EQ(bad->exitCode(), 1);
    EXPECT_TRUE(bad->readAllStandardError().contains("import failed"));
    EXPECT_EQ(settingsInFile().value(kPrefix + QStringLiteral("delay")), QStringLiteral("5"));
}
