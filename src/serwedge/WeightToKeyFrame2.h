#pragma once

#include "config/Config.h"
#include "serwedge/Closing.h"
#include "serwedge/SettingsTabs.h"
#include "serwedge/prefs/SettingsStore.h"
#include "serwedge/util/UpdateWorkerView.h"
#include "worker/ReadingRun.h"
#include "worker/WeightWorker.h"
#include "worker/WeightWorkerView.h"

#include <QIcon>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QTabWidget;
class QTextBrowser;

namespace serwedge::util {
class UpdateWorker;
}

namespace serwedge {

class Catalogue;
class EventLog;
class GlobalShortcut;
class TrayBehaviour;

// The main window: start-up checks, loading and saving, the Start/Stop toggle that builds and
// tears down the reading run, the event log, automatic saving and closing. The settings tabs
// and the tray behaviour are parts of their own.
class WeightToKeyFrame2 : public QMainWindow,
                          public worker::WeightWorkerView,
                          public util::UpdateWorkerView {
public:
    struct Options {
        // The command line without options; a non-empty first entry names the port.
        QStringList args;
        prefs::SettingsStore::Backend backend = prefs::SettingsStore::Backend::Default;
        // A port to select after loading (the demo device), unless the command line names one.
        QString preselectPort;
        // Opens the settings store; the back-end above when empty. May throw
        // prefs::AccessDeniedError.
        std::function<prefs::SettingsStore()> openStore;
        // Whether the serial driver library is loaded; SerialPortLocal's answer when empty.
        std::function<bool()> libraryLoaded;
        // The catalogue whose keys the start-up check resolves; the window catalogue when null.
        const Catalogue* checkedCatalogue = nullptr;
        // The keystroke facility of each start; the platform's injector when empty.
        worker::ReadingRun::InjectorFactory injectorFactory;
        // The synthesizer of each start with sound; the platform's when empty.
        worker::SoundBot::PlayerFactory playerFactory;
        bool show = true;
    };

    // Ends the program with a status after a confirmed settings import, without saving; leaves
    // the event loop with that status unless replaced (empty = that).
    using ExitHandler = std::function<void(int status)>;
    static void setExitHandler(ExitHandler handler);

    // Builds the window in the start-up order. When a start-up check ends the program,
    // exitStatus() holds the status and the window is not shown.
    explicit WeightToKeyFrame2(Options options);
    ~WeightToKeyFrame2() override;

    std::optional<int> exitStatus() const { return exitStatus_; }

    // ---- WeightWorkerView ----
    void logEvent(const QString& text) override;
    void logImportantEvent(const QString& text) override;
    void setConnectedInGUI(bool connected) override;
    void update(const worker::DataLine& line) override;
    void showWarning(const QString& title, const QString& message) override;
    void showPortWaiting(const QString& text) override;
    // ---- UpdateWorkerView ----
    void showStatus(const QString& text) override;
    // The broker's state at the right of the status line; any thread.
    void setOutputStatus(const QString& text) override;

    // The Start/Stop toggle (also what automatic start runs).
    void startStopJButtonActionPerformed();
    // While reading: ask the instrument for a value, tare it, zero it.
    void requestJButtonActionPerformed();
    void tareJButtonActionPerformed();
    void zeroJButtonActionPerformed();
    void updateConfigFromTabs();
    bool loadConfig();
    void saveConfig();
    void addMinimizeToTraySupport();
    void removeMinimizeToTraySupport();
    void tabbedPaneStateChanged(int index);

    // Whether the tray behaviour may be installed; the platform's answer unless replaced.
    static void setTrayAvailable(std::optional<bool> available);
    static QIcon createImageIcon(const QString& path, const QString& description);

    // ---- state, for the program's own tools and tests ----
    const config::Config& getConfig() const { return config; }
    config::Config& mutableConfig() { return config; }
    const QStringList& getPortList() const { return portList_; }
    bool isConnectedGUI() const { return connectedGUI; }
    bool portFromCommandLine() const { return portFromCommandLine_; }
    bool hasKeyBot() const { return run_.hasKeyBot(); }
    bool hasKeybotThread() const { return run_.hasKeybotThread(); }
    bool hasSoundBot() const { return run_.hasSoundBot(); }
    bool hasIgnorer() const { return run_.hasIgnorer(); }
    bool hasWeightWorker() const { return run_.worker() != nullptr; }
    bool trayIconShown() const;
    bool traySupportInstalled() const;
    EventLog* eventLog() const { return eventLogPane; }
    QTabWidget* tabs() const { return tabbedPane; }
    // The input, processing, output and settings tabs with their controls.
    SettingsTabs& settingsTabs() const { return *settingsTabs_; }
    QPushButton* startStopButton() const { return startStopJButton; }
    QPushButton* requestButton() const { return requestJButton; }
    QPushButton* tareButton() const { return tareJButton; }
    QPushButton* zeroButton() const { return zeroJButton; }
    bool hasGlobalShortcut() const { return shortcut_ != nullptr; }
    QLabel* statusLabel() const { return statusJLabel; }
    QLabel* outputStatus() const { return outputStatusLabel; }
    QString statusText() const;
    QString nextStepText() const;
    QString trayToolTip() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool checkResourceBundles(const Catalogue& catalogue);
    // Fills portList_ as at start-up and when the ports are listed again; false when the
    // driver library is missing.
    bool listPorts();
    void initComponents();
    // What the settings tabs use of the window.
    SettingsTabs::Host settingsHost();
    QWidget* buildMainPanel();
    QWidget* buildAboutPanel();
    void autoStart();
    void startPipeline();
    void stopPipeline();
    // Shows what went wrong while a run was being built.
    void showStartFailure(const worker::ReadingRun::Failure& failure);
    void updateMainPanel();
    // On demand: the global shortcut for the run, or the log says why there is none.
    void offerGlobalShortcut();
    void sendToInstrument(worker::WeightWorker::Command command);
    bool isSettingsTab(QWidget* page) const;
    void message(const QString& titleKey, const QString& text, int kind);
    QString text(const char* key) const;

    Options options_;
    std::optional<int> exitStatus_;

    config::Config config;
    std::unique_ptr<prefs::SaveNecessity> oldConfig;
    std::optional<prefs::SettingsStore> store_;
    bool connectedGUI = false;
    // What the desktop waits for the user to allow before keys go through (its portal).
    QString keyPermission_;
    // What the run says while it waits for its port to return; empty while the port is there.
    QString portWaiting_;
    QStringList portList_;
    bool portFromCommandLine_ = false;
    int currentTabIndex = 0;
    QWidget* currentTab_ = nullptr;

    // The keystroke engine, sound, duplicate filter and reading worker of the current run.
    worker::ReadingRun run_;
    std::unique_ptr<util::UpdateWorker> updateWorker_;

    QTabWidget* tabbedPane = nullptr;
    SettingsTabs* settingsTabs_ = nullptr;
    TrayBehaviour* tray_ = nullptr;
    QWidget* panel1 = nullptr;
    QWidget* eventLogPanel = nullptr;
    QWidget* aboutPanel = nullptr;
    EventLog* eventLogPane = nullptr;
    QTextBrowser* aboutPane = nullptr;
    QPushButton* startStopJButton = nullptr;
    QPushButton* requestJButton = nullptr;
    QPushButton* tareJButton = nullptr;
    QPushButton* zeroJButton = nullptr;
    std::unique_ptr<GlobalShortcut> shortcut_;
    QLabel* portValueLabel = nullptr;
    QLabel* instrumentValueLabel = nullptr;
    QLabel* nextStepLabel = nullptr;
    QLabel* statusJLabel = nullptr;
    QLabel* outputStatusLabel = nullptr;
};

} // namespace serwedge
