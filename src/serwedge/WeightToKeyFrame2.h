#pragma once

#include "config/Config.h"
#include "serwedge/FieldVerifiers.h"
#include "serwedge/prefs/SettingsStore.h"
#include "serwedge/util/UpdateWorkerView.h"
#include "worker/ReadingRun.h"
#include "worker/WeightWorkerView.h"

#include <QIcon>
#include <QMainWindow>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSystemTrayIcon;
class QTabWidget;
class QTextBrowser;

namespace serwedge::util {
class UpdateWorker;
}

namespace serwedge {

class Catalogue;
class DecimalSeparatorBox;
class EventLog;

// Set once the main window starts closing; background threads read it before they report.
extern std::atomic<bool> isClosing;

// The main window: start-up checks, the settings tabs, the Start/Stop toggle that builds and
// tears down the reading pipeline, the event log, automatic saving, closing and the tray.
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
    // ---- UpdateWorkerView ----
    void showStatus(const QString& text) override;

    // The Start/Stop toggle (also what automatic start runs).
    void startStopJButtonActionPerformed();
    void updateConfigFromTabs();
    bool loadConfig();
    void saveConfig();
    void addMinimizeToTraySupport();
    void removeMinimizeToTraySupport();

    // Whether the tray behaviour may be installed; the platform's answer unless replaced.
    static void setTrayAvailable(std::optional<bool> available);

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
    bool traySupportInstalled() const { return trayListener_; }
    EventLog* eventLog() const { return eventLogPane; }
    QTabWidget* tabs() const { return tabbedPane; }
    QPushButton* startStopButton() const { return startStopJButton; }
    QLabel* statusLabel() const { return statusJLabel; }
    QString statusText() const;
    // Whether the division reminder is queued or on screen.
    bool isMathRoundingErrorWarningDisplayed() const { return mathRoundingErrorWarningDisplayed; }
    static QIcon createImageIcon(const QString& path, const QString& description);

    // The controls of the settings tabs, named after the settings they edit.
    QComboBox* portList = nullptr;
    QComboBox* instrumentBox = nullptr;
    QComboBox* bitRateBox = nullptr;
    QComboBox* dataBitsBox = nullptr;
    QComboBox* stopBitsBox = nullptr;
    QComboBox* parityBox = nullptr;
    QComboBox* inputTerminatorBox = nullptr;
    QPushButton* autoButton = nullptr;
    QPushButton* defaultButton = nullptr;
    QPushButton* refreshPortsButton = nullptr;
    QPushButton* customizeButton = nullptr;

    QComboBox* mathOperationBox = nullptr;
    QLineEdit* mathOperandTextField = nullptr;
    QLineEdit* decimalTextField = nullptr;
    QComboBox* roundingMethodBox = nullptr;
    QComboBox* editOperationComboBox = nullptr;
    QComboBox* editPositionComboBox = nullptr;
    QLineEdit* editNumCharactersTextField = nullptr;
    QLineEdit* removeCharactersTextField = nullptr;
    QCheckBox* ignoreDuplicatesCheckBox = nullptr;
    QPushButton* adjustIgnoreButton = nullptr;

    DecimalSeparatorBox* decimalSeparatorBox = nullptr;
    QComboBox* outputTerminatorBox = nullptr;
    QComboBox* soundComboBox = nullptr;
    QComboBox* keyboardTypeBox = nullptr;
    QComboBox* startWithBox = nullptr;
    QLineEdit* delayTextField = nullptr;
    QComboBox* outputTerminatorBox2 = nullptr;
    QLineEdit* everyXValuesTextField = nullptr;

    QRadioButton* manualConnectButton = nullptr;
    QRadioButton* autoConnectButton = nullptr;
    QButtonGroup* connectButtonGroup = nullptr;
    QCheckBox* minimizeToTrayCheckBox = nullptr;
    QCheckBox* notifyWhenMinimizedToTrayCheckBox = nullptr;
    QCheckBox* checkForUpdatesCheckBox = nullptr;
    QCheckBox* abortAutoStartCheckBox = nullptr;
    // Not a configuration field: the desktop's autostart entry holds this choice.
    QCheckBox* startWithSessionCheckBox = nullptr;
    QPushButton* importSettingsButton = nullptr;
    QPushButton* exportSettingsButton = nullptr;

    // ---- handlers of the controls ----
    void portListItemStateChanged();
    void instrumentBoxItemStateChanged();
    void bitRateBoxItemStateChanged();
    void dataBitsBoxItemStateChanged();
    void stopBitsBoxItemStateChanged();
    void parityBoxItemStateChanged();
    // Reads the entry as a byte value 0..255; false (with a message) when it is not one.
    bool inputTerminatorBoxItemStateChanged();
    void autoButtonActionPerformed();
    void customizeButtonActionPerformed();
    void adjustIgnoreButtonActionPerformed();
    void importSettingsButtonActionPerformed();
    void exportSettingsButtonActionPerformed();
    void defaultButtonActionPerformed();
    void refreshPortsButtonActionPerformed();
    void mathOperationBoxItemStateChanged();
    void roundingMethodBoxItemStateChanged();
    void editOperationComboBoxItemStateChanged();
    void editPositionComboBoxItemStateChanged();
    void ignoreDuplicatesCheckBoxActionPerformed();
    void decimalSeparatorBoxItemStateChanged();
    void outputTerminatorBoxItemStateChanged();
    void soundComboBoxItemStateChanged();
    void keyboardTypeBoxItemStateChanged();
    void startWithBoxItemStateChanged();
    void outputTerminatorBox2ItemStateChanged();
    void connectButtonActionPerformed();
    void minimizeToTrayCheckBoxItemStateChanged();
    void notifyWhenMinimizedToTrayCheckBoxItemStateChanged();
    void checkForUpdatesCheckBoxItemStateChanged();
    void abortAutoStartCheckBoxItemStateChanged();
    void startWithSessionCheckBoxActionPerformed();
    // Text-field verifiers (they also run when their field loses the focus): store a valid text
    // and answer true; refuse an invalid one with its message (none while closing), select the
    // field's tab again and keep the previous value.
    bool verifyMathOperand();
    bool verifyDecimalPlaces();
    bool verifyEditNumCharacters();
    bool verifyRemoveCharacters();
    bool verifyEveryXValues();
    bool verifyDelay();
    void tabbedPaneStateChanged(int index);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool checkResourceBundles(const Catalogue& catalogue);
    // Fills portList_ as at start-up and when the ports are listed again; false when the
    // driver library is missing.
    bool listPorts();
    void initComponents();
    QWidget* buildMainPanel();
    QWidget* buildInputPanel();
    QWidget* buildProcessingPanel();
    QWidget* buildOutputPanel();
    QWidget* buildSettingsPanel();
    QWidget* buildAboutPanel();
    void fillPortChoice();
    void selectConfigInControls();
    void setIcons();
    void autoStart();
    void startPipeline();
    void stopPipeline();
    // Shows what went wrong while a run was being built.
    void showStartFailure(const worker::ReadingRun::Failure& failure);
    void updateMainPanel();
    bool isSettingsTab(QWidget* page) const;
    void installVerifier(QLineEdit* field, VerifiedField which);
    bool verifyField(QLineEdit* field);
    void selectTabOf(QWidget* control);
    void selectTerminator(int value);
    // The division reminder: queued once; the flag stays set while it is on screen.
    void queueDivisionReminder();
    void message(const QString& titleKey, const QString& text, int kind);
    QString text(const char* key) const;

    Options options_;
    std::optional<int> exitStatus_;

    config::Config config;
    std::unique_ptr<prefs::SaveNecessity> oldConfig;
    std::optional<prefs::SettingsStore> store_;
    bool connectedGUI = false;
    QStringList portList_;
    bool portFromCommandLine_ = false;
    int currentTabIndex = 0;
    QWidget* currentTab_ = nullptr;
    bool mathRoundingErrorWarningDisplayed = false;
    bool updatingFromTabs_ = false; // tab changes made while copying the controls save nothing

    // The keystroke engine, sound, duplicate filter and reading worker of the current run.
    worker::ReadingRun run_;
    std::unique_ptr<util::UpdateWorker> updateWorker_;

    QTabWidget* tabbedPane = nullptr;
    QWidget* panel1 = nullptr;
    QWidget* inputPanel = nullptr;
    QWidget* processingPanel = nullptr;
    QWidget* outputPanel = nullptr;
    QWidget* settingsPanel = nullptr;
    QWidget* eventLogPanel = nullptr;
    QWidget* aboutPanel = nullptr;
    EventLog* eventLogPane = nullptr;
    QTextBrowser* aboutPane = nullptr;
    QPushButton* startStopJButton = nullptr;
    QLabel* portValueLabel = nullptr;
    QLabel* instrumentValueLabel = nullptr;
    QLabel* nextStepLabel = nullptr;
    QLabel* statusJLabel = nullptr;

    QIcon icon16_, icon20_, icon24_, icon32_;
    QSystemTrayIcon* trayIcon = nullptr;
    bool trayListener_ = false;
};

} // namespace serwedge
