#pragma once

#include "config/Config.h"
#include "serwedge/FieldVerifiers.h"
#include "serwedge/SettingsTransfer.h"

#include <QObject>
#include <QStringList>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace serwedge {

class DecimalSeparatorBox;
class OutputsPanel;

// The input, processing, output, settings and journal/MQTT tabs of the main window: one control per
// setting, named after it; the handlers that copy a change into the record at once; the checks of
// the typed-in fields; show() and copyTo().
class SettingsTabs : public QObject {
public:
    // What the tabs need from the window that holds them.
    struct Host {
        QWidget* window = nullptr;          // owns the dialogs
        QTabWidget* tabs = nullptr;         // holds the pages
        const QStringList* ports = nullptr; // the port names offered
        // Lists the ports again as at start-up; false when nothing was listed (the command line
        // fixed the port).
        std::function<bool()> listPortsAgain;
        // The port or the instrument in the record changed.
        std::function<void()> selectionChanged;
        // Manual connection was taken from the controls: the tray behaviour goes.
        std::function<void()> manualConnectTaken;
        // The command the desktop session runs to start the program.
        QStringList autostartCommand;
        // The settings store, opened on first use (throws when it cannot be opened), and what
        // export and import do to the window: save the current settings, end the program.
        std::function<prefs::SettingsStore&()> store;
        SettingsTransfer::Hooks transfer;
    };

    // Builds the four pages (not yet in the tab widget) with their controls. The record is the
    // one the controls edit; it must outlive the tabs.
    SettingsTabs(config::Config& config, Host host);

    // Selects the record's values in the controls; nothing is copied back by it.
    void show(const config::Config& record);
    // Copies every control into the bound record, in the fixed order and with the consequences
    // of the operation, delay and layout rules (updateConfigFromTabs); then hands a copy to
    // `target` when that is another record.
    void copyTo(config::Config& target);
    // Whether copyTo() is running (tab changes it makes are not the user's).
    bool isCopying() const { return copying_; }
    // Fills the port choice with the friendly names of the offered ports.
    void fillPortChoice();
    // Whether the division reminder is queued or on screen.
    bool isMathRoundingErrorWarningDisplayed() const { return mathRoundingErrorWarningDisplayed; }

    QWidget* inputPanel = nullptr;
    QWidget* processingPanel = nullptr;
    QWidget* outputPanel = nullptr;
    QWidget* settingsPanel = nullptr;
    // The journal and MQTT page.
    OutputsPanel* journalMqttPanel = nullptr;

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
    // Not a setting: tells that the custom expression is in use.
    QLabel* customPatternLabel = nullptr;
    QCheckBox* stableOnlyCheckBox = nullptr;
    QComboBox* requestCommandBox = nullptr; // editable: the preset's commands are offered
    QComboBox* requestModeBox = nullptr;
    QLineEdit* requestIntervalTextField = nullptr;

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
    QCheckBox* reconnectCheckBox = nullptr;
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
    void defaultButtonActionPerformed();
    void refreshPortsButtonActionPerformed();
    void stableOnlyCheckBoxActionPerformed();
    void requestModeBoxItemStateChanged();
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
    void reconnectCheckBoxItemStateChanged();
    void startWithSessionCheckBoxActionPerformed();
    void importSettingsButtonActionPerformed();
    void exportSettingsButtonActionPerformed();
    // Text-field verifiers (they also run when their field loses the focus): store a valid text
    // and answer true; refuse an invalid one with its message (none while closing), select the
    // field's tab again and keep the previous value.
    bool verifyMathOperand();
    bool verifyDecimalPlaces();
    bool verifyEditNumCharacters();
    bool verifyRemoveCharacters();
    bool verifyEveryXValues();
    bool verifyDelay();
    bool verifyRequestCommand();
    bool verifyRequestInterval();

private:
    QWidget* buildInputPanel();
    QWidget* buildProcessingPanel();
    QWidget* buildOutputPanel();
    QWidget* buildSettingsPanel();
    void connectHandlers();
    void installVerifier(QLineEdit* field, VerifiedField which);
    bool verifyField(QLineEdit* field);
    void selectTabOf(QWidget* control);
    void selectTerminator(int value);
    // Shows beside the instrument, and in its tooltip, whether an expression of the user's own
    // is in use.
    void showCustomPattern(const QString& customRegEx);
    // The line end byte check; `leavingField` when the entry lost the focus.
    bool checkTerminatorEntry(bool leavingField);
    // The request settings of a record in their controls, with the preset's commands offered.
    void showRequest(const config::Config& record);
    void offerRequestCommands(const config::ConfigHelper::Instrument& instrument,
                              const QString& command);
    // After a change of preset: the request command and mode follow the new preset unless the
    // user changed them from what the previous one gave.
    void followPresetRequest(const config::ConfigHelper::Instrument& previous,
                             const config::ConfigHelper::Instrument& selected);
    // Exports or imports through the settings store; "export.failed" or "import.failed" when
    // the store cannot be opened.
    void transferSettings(bool exporting);
    // The division reminder: queued once; the flag stays set while it is on screen.
    void queueDivisionReminder();
    void message(const QString& titleKey, const QString& text, int kind);
    QString text(const char* key) const;

    config::Config& config;
    Host host_;
    QTabWidget* tabbedPane;
    bool mathRoundingErrorWarningDisplayed = false;
    bool copying_ = false;
};

} // namespace serwedge
