// The main window's life: start-up checks and loading, Start and Stop of the pipeline over a
// simulated port, failures while starting, automatic start, automatic saving, closing, tray.

#include "WindowTestSupport.h"

#include "../../support/FirstPressGate.h"

#include "keys/KeyCodes.h"
#include "outputs/Journal.h"
#include "outputs/MqttPublisher.h"
#include "serwedge/GlobalShortcut.h"
#include "serwedge/OutputsPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace windowtest;
using serwedge::Dialogs;
using serwedge::worker::workerBundle;
namespace K = serwedge::config::KeyCodes;

namespace {

class WindowLifecycleTest : public WindowFixture {
protected:
    void push(const char* device, const std::string& bytes) { SerialFixture::push(device, bytes); }

    // Settings for a run on SIMA that types each value followed by ENTER without pauses.
    void storeRunSettings() {
        node().put("port", "SIMA");
        node().put("prevPort", "SIMA");
        node().put("outputTerminator", "ENTER");
        node().put("delay", "0");
    }

    bool waitForKey(int code) {
        return pumpUntil([&] {
            for (const auto& e : injector->events())
                if (e.kind == platform::RecordingKeyInjector::Event::Release && e.value == code)
                    return true;
            return false;
        });
    }

    QString typedText() const {
        QString s;
        for (int code : injector->pressedCodes()) {
            if (code >= K::DIGIT_0 && code <= K::DIGIT_0 + 9)
                s += QChar('0' + (code - K::DIGIT_0));
            else if (code == K::PERIOD)
                s += '.';
            else if (code == K::ENTER)
                s += '\n';
        }
        return s;
    }

    const std::vector<QString> allTabs() const {
        return {t("WeightToKeyFrame2.panel1.tab.title"),
                t("WeightToKeyFrame2.inputPanel.tab.title"),
                t("WeightToKeyFrame2.processingPanel.tab.title"),
                t("WeightToKeyFrame2.outputPanel.tab.title"),
                t("WeightToKeyFrame2.settingsPanel.tab.title"),
                t("WeightToKeyFrame2.journalMqttPanel.tab.title"),
                t("WeightToKeyFrame2.eventLogPanel.tab.title"),
                t("WeightToKeyFrame2.aboutPanel.tab.title")};
    }
};

} // namespace

// ---- construction ----

TEST_F(WindowLifecycleTest, noPortsShowsTheMessageAndTheWindowStillComesUp) {
    QTemporaryDir emptySysfs;
    qputenv("SERDRV_SYSFS_ROOT", emptySysfs.path().toUtf8());
    node().put("port", "COM7");
    Frame& f = build();
    qunsetenv("SERDRV_SYSFS_ROOT");
    EXPECT_FALSE(f.exitStatus().has_value());
    EXPECT_TRUE(f.getPortList().isEmpty());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              t("no.rs.232.port.found.on.your.system.program.will.now.exit"));
    EXPECT_EQ(dialogs.shown[0].title, t("error"));
    // With no list the stored port is not read.
    EXPECT_EQ(f.getConfig().getPort(), "");
    EXPECT_EQ(tabTitles(), allTabs());
    EXPECT_EQ(f.windowTitle(), "Brindle Tallyra");
}

TEST_F(WindowLifecycleTest, missingDriverLibraryEndsWithStatusTwoAfterItsMessage) {
    libraryMissing = true;
    Frame& f = build();
    EXPECT_EQ(f.exitStatus(), 2);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, t("fatal.error"));
    EXPECT_EQ(dialogs.shown[0].text, t("library.serdrvwin.not.found.or.not.matching.your.system") +
                                         " (Linux amd64)" + t("program.will.now.exit"));
}

TEST_F(WindowLifecycleTest, incompleteCatalogueEndsWithStatusFourAndTheFixedText) {
    serwedge::Catalogue damaged(QStringLiteral("tallyra"), QStringLiteral("damaged"),
                                {"error", "no.such.key.anywhere"});
    checkedCatalogue = &damaged;
    twoPorts();
    Frame& f = build();
    EXPECT_EQ(f.exitStatus(), 4);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Fatal error");
    EXPECT_EQ(dialogs.shown[0].text, "Program files seem to be damaged or missing!\n"
                                     "Try downloading and reinstalling the program.");
}

TEST_F(WindowLifecycleTest, everyRegisteredWindowKeyResolvesInEnglishAndGerman) {
    for (const char* language : {"en", "de"})
        EXPECT_TRUE(serwedge::tallyraBundle().missingKeys(language).isEmpty())
            << language << ": "
            << serwedge::tallyraBundle().missingKeys(language).join(", ").toStdString();
}

TEST_F(WindowLifecycleTest, invalidStoredValuesAreReplacedByDefaultsAndReported) {
    twoPorts();
    node().put("bitRate", "15");
    node().put("sound", "cowbell");
    node().put("delay", "2000");
    Frame& f = build();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, t("error.while.loading.settings"));
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(t("invalid.setting.found.defaults.used")));
    for (const char* key : {"bitRate", "sound", "delay"})
        EXPECT_TRUE(dialogs.shown[0].text.contains(key)) << key;
    EXPECT_EQ(f.getConfig().getBitRate(), 7);
    EXPECT_EQ(f.settingsTabs().bitRateBox->currentText(), "9600");
    EXPECT_EQ(f.getConfig().getSound(), serwedge::config::ConfigHelper::Sound::NONE);
    EXPECT_EQ(f.settingsTabs().delayTextField->text(), "20");
}

TEST_F(WindowLifecycleTest, accessRefusedWhileLoadingGivesDefaultsAndTheMessage) {
    twoPorts();
    refusals.reads = true;
    Frame& f = build();
    EXPECT_FALSE(f.exitStatus().has_value());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, t("error.while.loading.settings"));
    EXPECT_EQ(dialogs.shown[0].text, t("access.error.while.loading.settings") + "reading refused");
    EXPECT_EQ(f.getConfig().getBitRate(), 7);
    EXPECT_EQ(f.getConfig().getDelay(), "20");
    EXPECT_EQ(f.getConfig().getInputTerminator(), 13);
    EXPECT_EQ(f.getConfig().getPort(), "SIMA");
}

TEST_F(WindowLifecycleTest, commandLinePortReplacesListingAndStoredPort) {
    twoPorts();
    node().put("port", "SIMA");
    Frame& f = build({"SIMX"});
    EXPECT_TRUE(f.portFromCommandLine());
    EXPECT_EQ(f.getPortList(), QStringList{"SIMX"});
    EXPECT_EQ(f.getConfig().getPort(), "SIMX");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WindowLifecycleTest, storedPortNoLongerListedFallsBackToTheFirstPort) {
    twoPorts();
    node().put("port", "SIMB");
    EXPECT_EQ(build().getConfig().getPort(), "SIMB");
    frame.reset();
    node().put("port", "SIMGONE");
    EXPECT_EQ(build().getConfig().getPort(), "SIMA");
}

// ---- start and stop ----

TEST_F(WindowLifecycleTest, startRunsThePipelineAndStopTearsItDown) {
    twoPorts();
    storeRunSettings();
    Frame& f = build();
    EXPECT_EQ(f.startStopButton()->text(), t("WeightToKeyFrame2.startStopJButton.text"));

    f.startStopButton()->click();
    EXPECT_TRUE(f.isConnectedGUI());
    EXPECT_EQ(serdrv_sim_is_open("SIMA"), 1);
    EXPECT_EQ(f.startStopButton()->text(), t("WeightToKeyFrame2.startStopJButton.textStop"));
    EXPECT_EQ(f.statusText(), t("switch.to.target.application"));
    EXPECT_EQ(tabTitles(), (std::vector<QString>{t("WeightToKeyFrame2.panel1.tab.title"),
                                                 t("WeightToKeyFrame2.eventLogPanel.tab.title"),
                                                 t("WeightToKeyFrame2.aboutPanel.tab.title")}));
    EXPECT_TRUE(f.hasKeyBot());
    EXPECT_TRUE(f.hasKeybotThread());
    EXPECT_TRUE(f.hasWeightWorker());
    EXPECT_FALSE(f.hasSoundBot());
    EXPECT_FALSE(f.hasIgnorer());
    EXPECT_TRUE(logText().contains(t("WeightToKeyFrame2.deviceLabel.text") + " Generic"))
        << logText().toStdString();
    EXPECT_TRUE(logText().contains(t("keyboard.output.started.type") + " " +
                                   serwedge::config::ConfigHelper::KeyboardType(
                                       serwedge::config::ConfigHelper::KeyboardType::QUERTY)
                                       .toString()));
    EXPECT_TRUE(dialogs.shown.empty());

    push("SIMA", "ST,+000012.34  g\r\n");
    ASSERT_TRUE(waitForKey(K::ENTER));
    EXPECT_EQ(typedText(), "12.34\n");
    EXPECT_EQ(f.statusText(), t("line.count") + "1");
    const auto pieces = f.eventLog()->lastLinePieces();
    ASSERT_GE(pieces.size(), 3u);
    EXPECT_EQ(pieces[2].first, "12.34");
    EXPECT_EQ(pieces[2].second, "typed");

    f.startStopButton()->click();
    EXPECT_FALSE(f.hasKeyBot());
    EXPECT_FALSE(f.hasKeybotThread());
    ASSERT_TRUE(pumpUntil([&] { return !f.isConnectedGUI(); }));
    EXPECT_TRUE(pumpUntil([&] { return !f.hasWeightWorker(); }));
    EXPECT_EQ(serdrv_sim_is_open("SIMA"), 0);
    EXPECT_EQ(tabTitles(), allTabs());
    EXPECT_EQ(f.startStopButton()->text(), t("WeightToKeyFrame2.startStopJButton.text"));
    EXPECT_EQ(f.statusText(), t("WeightToKeyFrame2.statusJLabel.text"));
    EXPECT_TRUE(logText().contains(workerBundle().getString("stopped")));
    EXPECT_TRUE(injector->held().empty());

    // A second run works the same way on fresh objects.
    f.startStopButton()->click();
    EXPECT_TRUE(f.isConnectedGUI());
    f.startStopButton()->click();
    EXPECT_TRUE(pumpUntil([&] { return !f.isConnectedGUI(); }));
}

TEST_F(WindowLifecycleTest, aRunShowsTheBrokersStateBesideTheStatusAndKeepsTheJournal) {
    twoPorts();
    storeRunSettings();
    QTemporaryDir journal;
    node().put("journal", "true");
    node().put("journalFolder", journal.path());
    node().put("mqtt", "true");
    node().put("mqttHost", "127.0.0.1");
    node().put("mqttPort", "1"); // nothing listens there
    Frame& f = build();
    f.startStopButton()->click();
    const QString expected = serwedge::outputs::MqttPublisher::availableInThisBuild()
                                 ? workerBundle().format("mqtt.status.unreachable",
                                                         {"127.0.0.1:1", "Connection refused"})
                                 : workerBundle().getString("mqtt.status.not.available");
    EXPECT_TRUE(pumpUntil([&] { return f.outputStatus()->text() == expected; }))
        << f.outputStatus()->text().toStdString();
    push("SIMA", "ST,+000012.34  g\r\n");
    ASSERT_TRUE(waitForKey(K::ENTER));
    f.startStopButton()->click();
    ASSERT_TRUE(pumpUntil([&] { return !f.hasWeightWorker(); }));
    EXPECT_TRUE(f.outputStatus()->text().isEmpty());

    QFile file(
        QDir(journal.path()).filePath(serwedge::outputs::Journal::fileName(QDate::currentDate())));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject line = QJsonDocument::fromJson(file.readLine()).object();
    EXPECT_EQ(line.value("value").toString(), "12.34");
    EXPECT_TRUE(line.value("typed").toBool());
    EXPECT_EQ(line.value("port").toString(), "SIMA");
}

TEST_F(WindowLifecycleTest, aNetworkInstrumentTypedInThePortBoxIsKeptThoughNotListed) {
    twoPorts();
    node().put("port", "tcp://10.1.1.9:4001");
    Frame& f = build();
    EXPECT_EQ(f.settingsTabs().portList->currentText(), "tcp://10.1.1.9:4001");
    f.updateConfigFromTabs();
    EXPECT_EQ(f.getConfig().getPort(), "tcp://10.1.1.9:4001");
}

TEST_F(WindowLifecycleTest, stopFinishesTheValueBeingTypedWithoutHoldingUpTheWindow) {
    twoPorts();
    storeRunSettings();
    test_support::FirstPressGate gate;
    gate.attach(*injector);
    Frame& f = build();
    f.startStopButton()->click();
    push("SIMA", "ST,+000012.34  g\r\n");
    ASSERT_TRUE(pumpUntil([&] { return gate.waitForPress(std::chrono::milliseconds(0)); }));
    f.startStopButton()->click();
    // The click came back while the typing thread still waits at the value's first key.
    EXPECT_EQ(injector->pressedCodes(), std::vector<int>{K::digit(1)});
    gate.letGo();
    ASSERT_TRUE(waitForKey(K::ENTER));
    EXPECT_EQ(typedText(), "12.34\n");
    EXPECT_TRUE(pumpUntil([&] { return !f.isConnectedGUI(); }));
    injector->onEvent({});
}

TEST_F(WindowLifecycleTest, portInUseLeavesTheWindowIdleWithTheMessage) {
    twoPorts();
    storeRunSettings();
    Frame& f = build();
    serdrv_sim_fail_next_opens("SIMA", 1002, 1);
    f.startStopJButtonActionPerformed();
    EXPECT_FALSE(f.isConnectedGUI());
    EXPECT_FALSE(f.hasWeightWorker());
    EXPECT_FALSE(f.hasKeyBot());
    EXPECT_FALSE(f.hasKeybotThread());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, t("error"));
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(t("error.opening.port")));
    EXPECT_GT(dialogs.shown[0].text.size(), t("error.opening.port").size());
    EXPECT_EQ(tabTitles(), allTabs());
}

TEST_F(WindowLifecycleTest, unusablePatternEndsTheStartWithInvalidSetting) {
    twoPorts();
    storeRunSettings();
    Frame& f = build();
    // The custom pattern is not a control of the tabs yet: it is set in the record.
    f.mutableConfig().setCustomRegEx(QStringLiteral("([0-9]+"));
    f.startStopJButtonActionPerformed();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_FALSE(f.isConnectedGUI());
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(t("invalid.setting")));
    EXPECT_FALSE(f.hasWeightWorker());
    EXPECT_FALSE(f.hasKeyBot());
    EXPECT_EQ(serdrv_sim_is_open("SIMA"), 0);
}

// What the run reports when its outputs cannot be opened is shown in the order it happened.
TEST_F(WindowLifecycleTest, outputsThatCannotOpenAreShownAndTheRunGoesOn) {
    twoPorts();
    storeRunSettings();
    node().put("sound", "COWBELL");
    injectorFails = true;
    soundFails = true;
    Frame& f = build();
    f.startStopJButtonActionPerformed();
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].title, t("error"));
    EXPECT_EQ(dialogs.shown[0].text,
              t("error.initializing.keyboard.output") + "no keystroke facility here");
    EXPECT_EQ(dialogs.shown[1].title, t("sound.output.error"));
    EXPECT_EQ(dialogs.shown[1].text,
              t("error.while.initializing.sound.output") + "no synthesizer here");
    EXPECT_TRUE(f.isConnectedGUI());
    push("SIMA", "ST,+000001.50  g\r\n");
    ASSERT_TRUE(pumpUntil([&] { return f.statusText() == t("line.count") + "1"; }));
    EXPECT_TRUE(logText().contains("ST,+000001.50  g<13>"));
    f.startStopJButtonActionPerformed();
    EXPECT_TRUE(pumpUntil([&] { return !f.isConnectedGUI(); }));
}

TEST_F(WindowLifecycleTest, capsLockWarnsAndReadingStartsAnyway) {
    twoPorts();
    storeRunSettings();
    injector->setCapsLock(true);
    Frame& f = build();
    f.startStopJButtonActionPerformed();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, t("warning"));
    EXPECT_EQ(dialogs.shown[0].text, t("please.turn.off.caps.lock"));
    EXPECT_EQ(dialogs.shown[0].kind, Dialogs::Kind::Warning);
    EXPECT_TRUE(f.isConnectedGUI());
    f.startStopJButtonActionPerformed();
    EXPECT_TRUE(pumpUntil([&] { return !f.isConnectedGUI(); }));
}

TEST_F(WindowLifecycleTest, vanishedPortReturnsTheWindowToIdleWithTheWorkersMessage) {
    twoPorts();
    storeRunSettings();
    node().put("reconnect", "false");
    Frame& f = build();
    f.startStopJButtonActionPerformed();
    ASSERT_TRUE(f.isConnectedGUI());
    serdrv_sim_unplug("SIMA");
    ASSERT_TRUE(pumpUntil([&] { return !f.isConnectedGUI(); }));
    EXPECT_TRUE(logText().contains(workerBundle().getString("execution.exception")))
        << logText().toStdString();
    EXPECT_FALSE(f.hasKeyBot());
    EXPECT_TRUE(pumpUntil([&] { return !f.hasWeightWorker(); }));
    EXPECT_EQ(tabTitles(), allTabs());
}

TEST_F(WindowLifecycleTest, whileThePortIsAwayTheStatusAndTraySayWhatTheRunWaitsFor) {
    twoPorts();
    storeRunSettings();
    for (const char* language : {"de", "en"}) {
        serwedge::Catalogue::setLanguage(language);
        injector->clear();
        Frame& f = build();
        f.startStopJButtonActionPerformed();
        serdrv_sim_unplug("SIMA");
        const QString waiting = workerBundle().format("instrument.disconnected.waiting", {"SIMA"});
        ASSERT_TRUE(pumpUntil([&] { return f.statusText() == waiting; })) << language;
        EXPECT_EQ(f.nextStepText(), t("WeightToKeyFrame2.nextStep.waiting"));
        EXPECT_EQ(f.trayToolTip(), "Tallyra\n" + waiting);
        serdrv_sim_replug("SIMA");
        ASSERT_TRUE(pumpUntil([&] { return f.statusText() == t("switch.to.target.application"); }));
        EXPECT_EQ(f.nextStepText(), t("WeightToKeyFrame2.nextStep.running"));
        EXPECT_EQ(f.trayToolTip(), "Tallyra");
        serdrv_sim_push("SIMA", reinterpret_cast<const uint8_t*>("ST,+7.25 g\r\n"), 13);
        ASSERT_TRUE(waitForKey(10)) << "the value after the return is typed";
        EXPECT_EQ(typedText(), "7.25\n");
        EXPECT_TRUE(logText().contains(workerBundle().getString("instrument.reconnected")));
        f.startStopJButtonActionPerformed();
        ASSERT_TRUE(pumpUntil([&] { return !f.isConnectedGUI() && !f.hasWeightWorker(); }));
        frame.reset();
    }
}

TEST_F(WindowLifecycleTest, demoBalanceFitsTheDefaultPresetAndSendsAtItsPaceFromTheStart) {
    serdrv_sim_enable_demo();
    Frame& f = build({"DEMO"}); // default settings otherwise
    ASSERT_EQ(f.getConfig().getInputTerminator(), 13);
    pump(1100); // readings come due while the port is closed
    f.startStopJButtonActionPerformed();
    ASSERT_TRUE(pumpUntil([&] { return f.statusText().startsWith(t("line.count")); }));
    EXPECT_EQ(f.statusText(), t("line.count") + "1");
    // The second line, too, is the instrument's line alone, with its value marked as typed.
    ASSERT_TRUE(pumpUntil([&] { return f.statusText() == t("line.count") + "2"; }));
    const auto pieces = f.eventLog()->lastLinePieces();
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[2].second, "typed");
    EXPECT_EQ(pieces[3].first, "  g<13>");
    f.startStopJButtonActionPerformed();
    EXPECT_TRUE(pumpUntil([&] { return !f.isConnectedGUI(); }));
}

// ---- automatic start ----

TEST_F(WindowLifecycleTest, autoStartRunsOnThePreviousPort) {
    twoPorts();
    storeRunSettings();
    node().put("connect", "AUTO");
    node().put("abortAutoStartWhenPrevPortNotAvailable", "true");
    Frame& f = build();
    EXPECT_TRUE(f.isConnectedGUI());
    EXPECT_EQ(serdrv_sim_is_open("SIMA"), 1);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WindowLifecycleTest, autoStartAbortsWhenThePreviousPortIsGone) {
    twoPorts();
    storeRunSettings();
    node().put("port", "SIMGONE");
    node().put("prevPort", "SIMGONE");
    node().put("connect", "AUTO");
    node().put("abortAutoStartWhenPrevPortNotAvailable", "true");
    Frame& f = build();
    EXPECT_FALSE(f.isConnectedGUI());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              serwedge::tallyraBundle().format(
                  "previously.used.port.0.no.longer.available.naborting.auto.start", {"SIMGONE"}));
    EXPECT_TRUE(dialogs.shown[0].text.contains("SIMGONE"));
}

TEST_F(WindowLifecycleTest, autoStartUsesTheFirstPortWhenAbortingIsOff) {
    twoPorts();
    storeRunSettings();
    node().put("port", "SIMGONE");
    node().put("prevPort", "SIMGONE");
    node().put("connect", "AUTO");
    node().put("abortAutoStartWhenPrevPortNotAvailable", "false");
    Frame& f = build();
    EXPECT_TRUE(f.isConnectedGUI());
    EXPECT_EQ(f.getConfig().getPort(), "SIMA");
    EXPECT_EQ(serdrv_sim_is_open("SIMA"), 1);
}

TEST_F(WindowLifecycleTest, autoStartWithACommandLinePortNeverAborts) {
    twoPorts();
    storeRunSettings();
    node().put("prevPort", "SIMGONE");
    node().put("connect", "AUTO");
    node().put("abortAutoStartWhenPrevPortNotAvailable", "true");
    Frame& f = build({"SIMB"});
    EXPECT_TRUE(f.isConnectedGUI());
    EXPECT_EQ(serdrv_sim_is_open("SIMB"), 1);
}

// ---- saving ----

TEST_F(WindowLifecycleTest, leavingInputProcessingOutputOrAboutSavesAndOtherTabsDoNot) {
    twoPorts();
    Frame& f = build();
    QTabWidget* tabs = f.tabs();
    // Leaving the settings tab: the change stays unsaved.
    tabs->setCurrentIndex(4);
    f.settingsTabs().minimizeToTrayCheckBox->setChecked(true);
    tabs->setCurrentIndex(6);
    EXPECT_EQ(node().get("minimizeToTray", "unset"), "unset");
    // Leaving the event log and the main tab saves nothing either.
    tabs->setCurrentIndex(0);
    EXPECT_EQ(node().get("minimizeToTray", "unset"), "unset");

    struct Case {
        int tab;
        std::function<void()> change;
        const char* key;
        QString expected;
    };
    const std::vector<Case> cases = {
        {1, [&] { f.settingsTabs().bitRateBox->setCurrentIndex(3); }, "bitRate", "3"},
        {2, [&] { f.settingsTabs().decimalTextField->setText("2"); }, "decimalPlaces", "2"},
        {3, [&] { f.settingsTabs().delayTextField->setText("7"); }, "delay", "7"},
        {5, [&] { f.settingsTabs().journalMqttPanel->journalDaysTextField->setText("30"); },
         "journalDays", "30"},
        {7, [&] { f.settingsTabs().parityBox->setCurrentIndex(2); }, "parity", "2"},
    };
    for (const Case& c : cases) {
        tabs->setCurrentIndex(c.tab);
        c.change();
        tabs->setCurrentIndex(0);
        EXPECT_EQ(node().get(c.key, "unset"), c.expected) << "leaving tab " << c.tab;
    }
    // The settings tab's change went out with the first save.
    EXPECT_EQ(node().get("minimizeToTray", "unset"), "true");
    EXPECT_EQ(node().get("prevPort", "unset"), "SIMA");
}

TEST_F(WindowLifecycleTest, failedAutosaveIsLoggedNotShown) {
    twoPorts();
    Frame& f = build();
    refusals.writes = true;
    f.tabs()->setCurrentIndex(1);
    f.settingsTabs().bitRateBox->setCurrentIndex(2);
    f.tabs()->setCurrentIndex(0);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(logText().contains(t("autosave.error") + "writing refused"))
        << logText().toStdString();
}

TEST_F(WindowLifecycleTest, closingSavesAndStopsARunningPipeline) {
    twoPorts();
    storeRunSettings();
    Frame& f = build();
    f.startStopJButtonActionPerformed();
    ASSERT_TRUE(f.isConnectedGUI());
    f.mutableConfig().setDelay("0"); // unchanged
    f.settingsTabs().keyboardTypeBox->setCurrentIndex(
        serwedge::config::ConfigHelper::KeyboardType::GERMAN);
    f.close();
    EXPECT_TRUE(serwedge::isClosing);
    EXPECT_EQ(node().get("keyboardType", "unset"), "GERMAN");
    EXPECT_EQ(node().get("port", "unset"), "SIMA");
    EXPECT_FALSE(f.hasWeightWorker());
    EXPECT_FALSE(f.hasKeyBot());
    EXPECT_EQ(serdrv_sim_is_open("SIMA"), 0);
    EXPECT_TRUE(injector->held().empty());
}

TEST_F(WindowLifecycleTest, closingWithoutAccessShowsTheSavingError) {
    twoPorts();
    Frame& f = build();
    refusals.writes = true;
    f.close();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, t("access.error.while.saving.settings") + "writing refused");
}

// ---- tray ----

TEST_F(WindowLifecycleTest, minimizingWithTraySupportHidesTheWindowUntilRestored) {
    Frame::setTrayAvailable(true);
    twoPorts();
    node().put("minimizeToTray", "true");
    node().put("connect", "AUTO");
    node().put("abortAutoStartWhenPrevPortNotAvailable", "false");
    node().put("port", "SIMA");
    Frame& f = build();
    ASSERT_TRUE(f.traySupportInstalled());
    // Automatic start with the tray option minimises the window into the tray.
    EXPECT_TRUE(f.isConnectedGUI());
    ASSERT_TRUE(pumpUntil([&] { return !f.isVisible(); }));
    EXPECT_TRUE(f.trayIconShown());
    f.show();
    f.setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(pumpUntil([&] { return !f.trayIconShown() && f.isVisible(); }));
    // Choosing manual connection removes the tray behaviour.
    f.settingsTabs().manualConnectButton->click();
    EXPECT_FALSE(f.traySupportInstalled());
}

TEST_F(WindowLifecycleTest, traySupportIsNotInstalledWithoutANotificationArea) {
    twoPorts();
    node().put("minimizeToTray", "true");
    Frame& f = build();
    EXPECT_FALSE(f.traySupportInstalled());
}

// ---- main tab ----

TEST_F(WindowLifecycleTest, mainTabShowsPortAndInstrumentBesideTheButton) {
    twoPorts();
    node().put("port", "SIMB");
    node().put("instrument", "KERN_572");
    Frame& f = build();
    const auto labels = f.tabs()->widget(0)->findChildren<QLabel*>();
    QStringList texts;
    for (QLabel* l : labels)
        texts << l->text();
    EXPECT_TRUE(texts.contains("SIMB")) << texts.join("|").toStdString();
    EXPECT_TRUE(texts.contains(serwedge::config::ConfigHelper::Instrument(
                                   serwedge::config::ConfigHelper::Instrument::KERN_572)
                                   .toPlainString()));
    f.settingsTabs().portList->setCurrentIndex(0);
    EXPECT_TRUE(f.tabs()->widget(0)->findChildren<QLabel*>().size() > 0);
    bool shown = false;
    for (QLabel* l : f.tabs()->widget(0)->findChildren<QLabel*>())
        shown |= l->text() == "SIMA";
    EXPECT_TRUE(shown);
}

// On demand the main tab asks the instrument: the button writes the preset's command through the
// port and the answer is typed; tare and zero show where the preset has them. Without an X
// display the log says why there is no global shortcut.
TEST_F(WindowLifecycleTest, requestButtonAsksTheInstrumentForAValue) {
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("XDG_SESSION_TYPE", "x11");
    twoPorts();
    storeRunSettings();
    node().put("instrument", "METTLER_DIALOG");
    node().put("inputTerminator", "10");
    node().put("requestMode", "ON_DEMAND");
    Frame& f = build();
    EXPECT_TRUE(f.requestButton()->isHidden());
    f.startStopButton()->click();
    ASSERT_TRUE(f.isConnectedGUI());
    EXPECT_FALSE(f.requestButton()->isHidden());
    EXPECT_FALSE(f.tareButton()->isHidden() || f.zeroButton()->isHidden());
    EXPECT_FALSE(f.hasGlobalShortcut());
    EXPECT_TRUE(logText().contains(serwedge::tallyraBundle().format(
        "shortcut.no.display", {serwedge::GlobalShortcut::keyText()})));

    f.requestButton()->click();
    std::string sent;
    EXPECT_TRUE(pumpUntil([&] { return (sent += written("SIMA")) == "SI\r\n"; })) << sent;
    push("SIMA", "S S      12.34 g\r\n");
    ASSERT_TRUE(waitForKey(K::ENTER));
    EXPECT_EQ(typedText(), "12.34\n");
    f.startStopButton()->click();
    ASSERT_TRUE(pumpUntil([&] { return !f.isConnectedGUI(); }));
    EXPECT_TRUE(f.requestButton()->isHidden());
}
