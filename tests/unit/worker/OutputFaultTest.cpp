// Fault runs of the output side: the settings file taken away or made unwritable while the
// file back-end uses it, and a keystroke back-end that refuses random presses. Each must end in
// clear diagnostics, with nothing lost that could be kept and the program still usable.

#include "config/Config.h"
#include "platform/recording/RecordingKeyInjector.h"
#include "serwedge/prefs/FilePreferences.h"
#include "serwedge/prefs/Properties.h"
#include "serwedge/prefs/SettingsStore.h"
#include "worker/Keybot.h"
#include "worker/WeightWorkerView.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <mutex>
#include <random>

using namespace serwedge;
using config::Config;
namespace H = config::ConfigHelper;
using prefs::FilePreferencesFactory;
using prefs::SettingsStore;

namespace {

class Diagnostics {
public:
    Diagnostics() {
        prefs::setDiagnosticSink([this](const QString& t) {
            std::lock_guard l(m);
            lines.append(t);
        });
    }
    ~Diagnostics() { prefs::setDiagnosticSink({}); }
    QStringList take() {
        std::lock_guard l(m);
        return std::exchange(lines, {});
    }

private:
    std::mutex m;
    QStringList lines;
};

Config settingsWithDelay(const QString& delay) {
    Config c;
    c.setInstrument(H::Instrument::KERN_MPS);
    c.setDelay(delay);
    c.setDecimalPlaces(QStringLiteral("2"));
    return c;
}

QString storedDelay(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("<unreadable>");
    return prefs::properties::parse(f.readAll()).value(QStringLiteral("com.brindle.Tallyra.delay"));
}

} // namespace

TEST(SettingsFileFault, removedFileIsWrittenAgainAtTheNextSave) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("prefs.txt"));
    Diagnostics diagnostics;
    FilePreferencesFactory factory(file);
    SettingsStore store(factory.userRoot());
    store.saveConfig(settingsWithDelay(QStringLiteral("30")));
    ASSERT_EQ(storedDelay(file), "30");

    ASSERT_TRUE(QFile::remove(file));
    Config loaded;
    store.loadConfig(loaded, {});
    store.saveConfig(settingsWithDelay(QStringLiteral("40")));
    EXPECT_EQ(storedDelay(file), "40");
    Config back;
    EXPECT_TRUE(store.loadConfig(back, {}));
    EXPECT_EQ(back.getDelay(), "40");
    EXPECT_EQ(back.getInstrument(), H::Instrument::KERN_MPS);
    for (const QString& line : diagnostics.take())
        EXPECT_FALSE(line.contains(QStringLiteral("exception"))) << line.toStdString();
}

// Root ignores permission bits, so the file is made unwritable by putting a folder in its
// place, and then by replacing its folder with a plain file.
TEST(SettingsFileFault, unwritableFileIsReportedAndTheProgramGoesOn) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("crew"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/prefs.txt");
    Diagnostics diagnostics;
    FilePreferencesFactory factory(file);
    SettingsStore store(factory.userRoot());
    store.saveConfig(settingsWithDelay(QStringLiteral("30")));
    diagnostics.take();

    const auto expectReported = [&](const char* situation) {
        const QStringList lines = diagnostics.take();
        bool named = false;
        for (const QString& line : lines)
            named = named || (line.startsWith(QStringLiteral("saveConfig exception: ")) &&
                              line.contains(file));
        EXPECT_TRUE(named) << situation << ": " << lines.join(QLatin1Char('\n')).toStdString();
    };

    // A folder where the file was.
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QDir().mkpath(file));
    EXPECT_NO_THROW(store.saveConfig(settingsWithDelay(QStringLiteral("40"))));
    expectReported("folder in place of the file");
    Config whileBroken;
    EXPECT_NO_THROW(store.loadConfig(whileBroken, {}));

    // A plain file where the folder was.
    ASSERT_TRUE(QDir(file).removeRecursively());
    ASSERT_TRUE(QDir(folder).removeRecursively());
    {
        QFile blocker(folder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    EXPECT_NO_THROW(store.saveConfig(settingsWithDelay(QStringLiteral("50"))));
    expectReported("file in place of the folder");

    // Once the folder is back, saving works again with the latest settings.
    ASSERT_TRUE(QFile::remove(folder));
    ASSERT_TRUE(QDir().mkpath(folder));
    store.saveConfig(settingsWithDelay(QStringLiteral("60")));
    EXPECT_EQ(storedDelay(file), "60");
    EXPECT_TRUE(diagnostics.take().filter(QStringLiteral("exception")).isEmpty());
    Config back;
    store.loadConfig(back, {});
    EXPECT_EQ(back.getDelay(), "60");
}

namespace {

// Counts the presses the recording back-end refuses.
class CountingInjector : public platform::RecordingKeyInjector {
public:
    void press(int code) override {
        try {
            RecordingKeyInjector::press(code);
        } catch (...) {
            ++refused;
            throw;
        }
    }
    std::atomic<int> refused{0};
};

class LogView : public worker::WeightWorkerView {
public:
    void logEvent(const QString&) override {}
    void logImportantEvent(const QString& t) override {
        std::lock_guard l(m);
        important.append(t);
    }
    void setConnectedInGUI(bool) override {}
    void update(const worker::DataLine&) override {}
    void showWarning(const QString&, const QString&) override {}
    QStringList importantCopy() {
        std::lock_guard l(m);
        return important;
    }

private:
    std::mutex m;
    QStringList important;
};

} // namespace

TEST(KeystrokeFault, randomlyRefusedPressesLeaveNoKeyDownAndAreEachLogged) {
    worker::Keybot::queue().clear();
    Config config;
    config.setInstrument(H::Instrument::GENERIC);
    config.setDelay(QStringLiteral("0"));
    config.setOutputTerminator(H::OutputTerminator::ENTER);
    config.setStartWith(H::StartWith::TAB);
    LogView view;
    auto injector = std::make_shared<CountingInjector>();
    injector->failRandomly(0.15, 4711);
    {
        worker::KeybotThread thread(std::make_shared<worker::Keybot>(config, &view, injector));
        std::mt19937 random(99);
        for (int i = 0; i < 300; ++i)
            worker::Keybot::add(QString::number(static_cast<int>(random() % 200000) - 100000) +
                                QStringLiteral(".") + QString::number(random() % 100));
        ASSERT_TRUE(worker::KeybotThread::waitUntilTyped(std::chrono::seconds(30)));
        EXPECT_TRUE(thread.keybot().heldKeys().empty());
    }
    EXPECT_TRUE(injector->held().empty());
    EXPECT_GT(injector->refused.load(), 0);
    const QStringList refusals =
        view.importantCopy().filter(QStringLiteral("simulated failure pressing"));
    EXPECT_EQ(refusals.size(), injector->refused.load());
    for (const QString& t : refusals)
        EXPECT_TRUE(t.startsWith(QStringLiteral("Error pressing key "))) << t.toStdString();

    // The next run, on a back-end that works, types exactly.
    auto working = std::make_shared<platform::RecordingKeyInjector>();
    {
        worker::KeybotThread thread(std::make_shared<worker::Keybot>(config, &view, working));
        worker::Keybot::add(QStringLiteral("-12.5"));
        ASSERT_TRUE(worker::KeybotThread::waitUntilTyped(std::chrono::seconds(10)));
    }
    EXPECT_EQ(working->pressedCodes(), (std::vector<int>{9, 45, 49, 50, 46, 53, 10}));
    EXPECT_TRUE(working->held().empty());
}
