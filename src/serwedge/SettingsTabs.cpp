#include "serwedge/SettingsTabs.h"

#include "serwedge/OutputsPanel.h"

#include "serwedge/AutoPortDialog.h"
#include "serwedge/Closing.h"
#include "serwedge/CustomRegExDialog.h"
#include "serwedge/DecimalSeparatorBox.h"
#include "serwedge/Dialogs.h"
#include "serwedge/FieldVerifierHook.h"
#include "serwedge/IgnoreDialog.h"
#include "serwedge/util/FriendlyPortUtil.h"
#include "serwedge/util/SessionAutostart.h"
#include "serwedge/util/TallyraBundle.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

namespace serwedge {

using config::Config;
namespace H = config::ConfigHelper;
using Kind = Dialogs::Kind;

QString SettingsTabs::text(const char* key) const {
    return tallyraBundle().getString(key);
}

void SettingsTabs::message(const QString& titleKey, const QString& body, int kind) {
    Dialogs::current().message(host_.window, tallyraBundle().getString(titleKey), body,
                               static_cast<Kind>(kind));
}

void SettingsTabs::connectHandlers() {
    auto onIndex = [this](QComboBox* box, void (SettingsTabs::*handler)()) {
        connect(box, &QComboBox::currentIndexChanged, this,
                [this, handler] { (this->*handler)(); });
    };
    auto onToggle = [this](QAbstractButton* b, void (SettingsTabs::*handler)()) {
        connect(b, &QAbstractButton::toggled, this, [this, handler] { (this->*handler)(); });
    };
    onIndex(portList, &SettingsTabs::portListItemStateChanged);
    connect(portList->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { portListItemStateChanged(); });
    onIndex(instrumentBox, &SettingsTabs::instrumentBoxItemStateChanged);
    onIndex(bitRateBox, &SettingsTabs::bitRateBoxItemStateChanged);
    onIndex(dataBitsBox, &SettingsTabs::dataBitsBoxItemStateChanged);
    onIndex(stopBitsBox, &SettingsTabs::stopBitsBoxItemStateChanged);
    onIndex(parityBox, &SettingsTabs::parityBoxItemStateChanged);
    connect(inputTerminatorBox, &QComboBox::activated, this,
            [this] { inputTerminatorBoxItemStateChanged(); });
    connect(inputTerminatorBox->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { checkTerminatorEntry(true); });
    connect(autoButton, &QPushButton::clicked, this, [this] { autoButtonActionPerformed(); });
    connect(defaultButton, &QPushButton::clicked, this, [this] { defaultButtonActionPerformed(); });
    connect(refreshPortsButton, &QPushButton::clicked, this,
            [this] { refreshPortsButtonActionPerformed(); });
    connect(customizeButton, &QPushButton::clicked, this,
            [this] { customizeButtonActionPerformed(); });
    connect(adjustIgnoreButton, &QPushButton::clicked, this,
            [this] { adjustIgnoreButtonActionPerformed(); });
    onIndex(mathOperationBox, &SettingsTabs::mathOperationBoxItemStateChanged);
    installVerifier(mathOperandTextField, VerifiedField::MathOperand);
    installVerifier(decimalTextField, VerifiedField::DecimalPlaces);
    onIndex(roundingMethodBox, &SettingsTabs::roundingMethodBoxItemStateChanged);
    onIndex(editOperationComboBox, &SettingsTabs::editOperationComboBoxItemStateChanged);
    onIndex(editPositionComboBox, &SettingsTabs::editPositionComboBoxItemStateChanged);
    installVerifier(editNumCharactersTextField, VerifiedField::EditNumCharacters);
    installVerifier(removeCharactersTextField, VerifiedField::RemoveCharacters);
    onToggle(ignoreDuplicatesCheckBox, &SettingsTabs::ignoreDuplicatesCheckBoxActionPerformed);
    onIndex(decimalSeparatorBox, &SettingsTabs::decimalSeparatorBoxItemStateChanged);
    onIndex(outputTerminatorBox, &SettingsTabs::outputTerminatorBoxItemStateChanged);
    onIndex(soundComboBox, &SettingsTabs::soundComboBoxItemStateChanged);
    onIndex(keyboardTypeBox, &SettingsTabs::keyboardTypeBoxItemStateChanged);
    onIndex(startWithBox, &SettingsTabs::startWithBoxItemStateChanged);
    installVerifier(delayTextField, VerifiedField::Delay);
    onIndex(outputTerminatorBox2, &SettingsTabs::outputTerminatorBox2ItemStateChanged);
    installVerifier(everyXValuesTextField, VerifiedField::EveryXValues);
    onToggle(stableOnlyCheckBox, &SettingsTabs::stableOnlyCheckBoxActionPerformed);
    installVerifier(requestCommandBox->lineEdit(), VerifiedField::RequestCommand);
    // The list's own line edit hears the focus leave the list; a command taken from the list
    // is checked at once.
    connect(requestCommandBox->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        // As for the other fields: a refused text gets the focus back once the message is read.
        if (!verifyRequestCommand() && !isClosing)
            QTimer::singleShot(0, requestCommandBox,
                               [this] { requestCommandBox->setFocus(Qt::OtherFocusReason); });
    });
    connect(requestCommandBox, &QComboBox::activated, this, [this] { verifyRequestCommand(); });
    onIndex(requestModeBox, &SettingsTabs::requestModeBoxItemStateChanged);
    installVerifier(requestIntervalTextField, VerifiedField::RequestIntervalMs);
    connect(connectButtonGroup, &QButtonGroup::buttonClicked, this,
            [this] { connectButtonActionPerformed(); });
    onToggle(minimizeToTrayCheckBox, &SettingsTabs::minimizeToTrayCheckBoxItemStateChanged);
    onToggle(notifyWhenMinimizedToTrayCheckBox,
             &SettingsTabs::notifyWhenMinimizedToTrayCheckBoxItemStateChanged);
    onToggle(checkForUpdatesCheckBox, &SettingsTabs::checkForUpdatesCheckBoxItemStateChanged);
    onToggle(abortAutoStartCheckBox, &SettingsTabs::abortAutoStartCheckBoxItemStateChanged);
    onToggle(reconnectCheckBox, &SettingsTabs::reconnectCheckBoxItemStateChanged);
    if (startWithSessionCheckBox)
        connect(startWithSessionCheckBox, &QCheckBox::clicked, this,
                [this] { startWithSessionCheckBoxActionPerformed(); });
    connect(importSettingsButton, &QPushButton::clicked, this,
            [this] { importSettingsButtonActionPerformed(); });
    connect(exportSettingsButton, &QPushButton::clicked, this,
            [this] { exportSettingsButtonActionPerformed(); });
}

void SettingsTabs::portListItemStateChanged() {
    config.setPort(QString::fromStdString(
        util::FriendlyPortUtil::getUnfriendlyPortName(portList->currentText().toStdString())));
    if (host_.selectionChanged)
        host_.selectionChanged();
}

void SettingsTabs::instrumentBoxItemStateChanged() {
    const int i = instrumentBox->currentIndex();
    if (i < 0)
        return;
    const H::Instrument selected(static_cast<H::Instrument::Value>(i));
    const H::Instrument previous = config.getInstrument().value_or(H::Instrument::getDefault());
    const bool changed = config.getInstrument() != selected;
    config.setInstrument(selected);
    if (changed)
        followPresetRequest(previous, selected);
    if (changed && !config.getCustomRegEx().isEmpty() && !isClosing) {
        // The question must not sit under the list's open pop-up.
        instrumentBox->hidePopup();
        if (Dialogs::current().question(host_.window, text("confirm"),
                                        text("overwrite.custom.regular.expression")))
            config.setCustomRegEx(QString());
        showCustomPattern(config.getCustomRegEx());
    }
    if (host_.selectionChanged)
        host_.selectionChanged();
}

void SettingsTabs::bitRateBoxItemStateChanged() {
    config.setBitRate(bitRateBox->currentIndex());
}

void SettingsTabs::dataBitsBoxItemStateChanged() {
    config.setDataBits(dataBitsBox->currentIndex());
}

void SettingsTabs::stopBitsBoxItemStateChanged() {
    config.setStopBits(stopBitsBox->currentIndex());
}

void SettingsTabs::parityBoxItemStateChanged() {
    config.setParity(parityBox->currentIndex());
}

bool SettingsTabs::inputTerminatorBoxItemStateChanged() {
    return checkTerminatorEntry(false);
}

bool SettingsTabs::checkTerminatorEntry(bool leavingField) {
    if (const auto value = checkInputTerminator(inputTerminatorBox->currentText().trimmed())) {
        config.setInputTerminator(*value);
        return true;
    }
    if (!isClosing) {
        message(QStringLiteral("error"), text(kInputTerminatorMessageKey), int(Kind::Error));
        const auto bringInputTabBack = [this] {
            if (tabbedPane->indexOf(inputPanel) >= 0)
                tabbedPane->setCurrentWidget(inputPanel);
        };
        // The field is left when the tab widget hides its page: a tab selected from inside
        // that page switch would leave the bar and the page shown out of step.
        if (leavingField)
            QTimer::singleShot(0, this, bringInputTabBack);
        else
            bringInputTabBack();
    }
    selectTerminator(config.getInputTerminator());
    return false;
}

// Selects the offered entry of a byte value, or shows the bare number when none has it.
void SettingsTabs::selectTerminator(int value) {
    const QSignalBlocker block(inputTerminatorBox);
    const QString entry = H::InputTerminator::selectionText(value);
    const int i = inputTerminatorBox->findText(entry);
    if (i >= 0)
        inputTerminatorBox->setCurrentIndex(i);
    inputTerminatorBox->setEditText(entry);
}

void SettingsTabs::autoButtonActionPerformed() {
    auto* dialog = new AutoPortDialog(host_.window, *host_.ports, [this](const QString& portText) {
        const int i = portList->findText(portText);
        if (i >= 0)
            portList->setCurrentIndex(i);
        else
            portList->setEditText(portText);
        portListItemStateChanged();
    });
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void SettingsTabs::defaultButtonActionPerformed() {
    const int i = instrumentBox->currentIndex();
    if (i < 0) {
        // No preset is selected, so there is nothing to take the line settings from.
        message(QStringLiteral("error"), text("no.default.values.available.for.this.device"),
                int(Kind::Error));
        return;
    }
    const H::Instrument instrument(static_cast<H::Instrument::Value>(i));
    if (const auto note = instrument.getDefaultMessage())
        message(QStringLiteral("info.title"), *note, int(Kind::Information));
    // The record follows the lists through their handlers.
    const Config line = instrument.getDefaultConfig();
    bitRateBox->setCurrentIndex(line.getBitRate());
    dataBitsBox->setCurrentIndex(line.getDataBits());
    stopBitsBox->setCurrentIndex(line.getStopBits());
    parityBox->setCurrentIndex(line.getParity());
    selectTerminator(line.getInputTerminator());
    inputTerminatorBoxItemStateChanged();
}

void SettingsTabs::customizeButtonActionPerformed() {
    // Window-modal without a nested event loop; the result is copied when it is accepted.
    auto* dialog = new CustomRegExDialog(host_.window, config, Dialogs::prompts());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        config.setCustomRegEx(dialog->getCustomRegEx());
        showCustomPattern(config.getCustomRegEx());
    });
    dialog->open();
}

void SettingsTabs::showCustomPattern(const QString& customRegEx) {
    customPatternLabel->setVisible(!customRegEx.isEmpty());
    const QString tip = text("WeightToKeyFrame2.instrumentBox.toolTipText");
    if (customRegEx.isEmpty()) {
        instrumentBox->setToolTip(tip);
        return;
    }
    // Rich text, so that an expression with "<" in it is shown as it is.
    const QString note =
        QStringLiteral("<p>") +
        Catalogue::formatMessage(
            text("WeightToKeyFrame2.customPatternLabel.toolTipText").toHtmlEscaped(),
            {QStringLiteral("<code>") + customRegEx.toHtmlEscaped() + QStringLiteral("</code>")}) +
        QStringLiteral("</p>");
    customPatternLabel->setToolTip(note);
    instrumentBox->setToolTip(QStringLiteral("<p>") + tip.toHtmlEscaped() + QStringLiteral("</p>") +
                              note);
}

void SettingsTabs::adjustIgnoreButtonActionPerformed() {
    auto* dialog = new IgnoreDialog(host_.window, config.getIgnoreTimeLimit(),
                                    config.getIgnoreDifference(), Dialogs::prompts());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        config.setIgnoreTimeLimit(dialog->getIgnoreTimeLimit());
        config.setIgnoreDifference(dialog->getIgnoreDifference());
    });
    dialog->open();
}

void SettingsTabs::refreshPortsButtonActionPerformed() {
    const QString selected = portList->currentText();
    if (!host_.listPortsAgain || !host_.listPortsAgain())
        return; // the command line fixed the port for this run
    fillPortChoice();
    const int i = portList->findText(selected);
    if (i >= 0)
        portList->setCurrentIndex(i);
    portListItemStateChanged();
}

void SettingsTabs::mathOperationBoxItemStateChanged() {
    config.setMathOperation(H::MathOperation(
        static_cast<H::MathOperation::Value>(std::max(0, mathOperationBox->currentIndex()))));
}

void SettingsTabs::roundingMethodBoxItemStateChanged() {
    config.setRoundingMethod(H::RoundingMethod(
        static_cast<H::RoundingMethod::Value>(std::max(0, roundingMethodBox->currentIndex()))));
}

void SettingsTabs::editOperationComboBoxItemStateChanged() {
    config.setEditOperation(H::EditOperation(
        static_cast<H::EditOperation::Value>(std::max(0, editOperationComboBox->currentIndex()))));
}

void SettingsTabs::editPositionComboBoxItemStateChanged() {
    config.setEditPosition(H::EditPosition(
        static_cast<H::EditPosition::Value>(std::max(0, editPositionComboBox->currentIndex()))));
}

void SettingsTabs::ignoreDuplicatesCheckBoxActionPerformed() {
    config.ignoreDuplicates = ignoreDuplicatesCheckBox->isChecked();
}

void SettingsTabs::decimalSeparatorBoxItemStateChanged() {
    config.setDecimalSeparator(decimalSeparatorBox->selectedSeparator());
}

void SettingsTabs::outputTerminatorBoxItemStateChanged() {
    config.setOutputTerminator(H::OutputTerminator(
        static_cast<H::OutputTerminator::Value>(std::max(0, outputTerminatorBox->currentIndex()))));
}

void SettingsTabs::soundComboBoxItemStateChanged() {
    config.setSound(
        H::Sound(static_cast<H::Sound::Value>(std::max(0, soundComboBox->currentIndex()))));
}

void SettingsTabs::keyboardTypeBoxItemStateChanged() {
    const H::KeyboardType type(
        static_cast<H::KeyboardType::Value>(std::max(0, keyboardTypeBox->currentIndex())));
    config.setKeyboardType(type);
    bool ok = false;
    const int delay = delayTextField->text().toInt(&ok, 10);
    // ALT codes need a little time between keys to be taken by every application.
    if (type == H::KeyboardType::ALL && ok && delay < 3) {
        keyboardTypeBox->hidePopup();
        if (!isClosing)
            message(QStringLiteral("info"), text("info.delay.keyboard.all"),
                    int(Kind::Information));
        delayTextField->setText(QStringLiteral("3"));
        config.setDelay(QStringLiteral("3"));
    }
}

void SettingsTabs::startWithBoxItemStateChanged() {
    config.setStartWith(
        H::StartWith(static_cast<H::StartWith::Value>(std::max(0, startWithBox->currentIndex()))));
}

void SettingsTabs::outputTerminatorBox2ItemStateChanged() {
    config.setOutputTerminator2(H::OutputTerminator(static_cast<H::OutputTerminator::Value>(
        std::max(0, outputTerminatorBox2->currentIndex()))));
}

void SettingsTabs::connectButtonActionPerformed() {
    const bool automatic = autoConnectButton->isChecked();
    config.setConnect(automatic ? H::Connect::AUTO : H::Connect::MANUAL);
    if (!automatic)
        if (host_.manualConnectTaken)
            host_.manualConnectTaken();
}

void SettingsTabs::minimizeToTrayCheckBoxItemStateChanged() {
    config.minimizeToTray = minimizeToTrayCheckBox->isChecked();
}

void SettingsTabs::notifyWhenMinimizedToTrayCheckBoxItemStateChanged() {
    config.notifyWhenMinimizedToTray = notifyWhenMinimizedToTrayCheckBox->isChecked();
}

void SettingsTabs::checkForUpdatesCheckBoxItemStateChanged() {
    config.checkForUpdates = checkForUpdatesCheckBox->isChecked();
}

void SettingsTabs::abortAutoStartCheckBoxItemStateChanged() {
    config.abortAutoStartWhenPrevPortNotAvailable = abortAutoStartCheckBox->isChecked();
}

void SettingsTabs::reconnectCheckBoxItemStateChanged() {
    config.reconnect = reconnectCheckBox->isChecked();
}

void SettingsTabs::installVerifier(QLineEdit* field, VerifiedField which) {
    const auto setter = fieldVerifier(which).setter;
    // Named captures rather than this: GCC 12's vptr check reports the access through a captured
    // this in these closures as one to a wrong type, although the object is the right one.
    Config* record = &config;
    SettingsTabs* self = this;
    FieldVerifierHook::install(field, which, Dialogs::prompts(),
                               {[record, setter](const QString& t) { (record->*setter)(t); },
                                [] { return isClosing.load(); },
                                [self, field] { self->selectTabOf(field); }});
}

void SettingsTabs::selectTabOf(QWidget* control) {
    for (int i = 0; i < tabbedPane->count(); ++i) {
        if (tabbedPane->widget(i)->isAncestorOf(control)) {
            tabbedPane->setCurrentIndex(i);
            return;
        }
    }
}

void SettingsTabs::startWithSessionCheckBoxActionPerformed() {
    const bool on = startWithSessionCheckBox->isChecked();
    QString error;
    if (util::SessionAutostart().setEnabled(on, host_.autostartCommand, error))
        return;
    message(QStringLiteral("error"), text("autostart.change.failed") + error, int(Kind::Error));
    // The box shows what the desktop will do.
    const QSignalBlocker block(startWithSessionCheckBox);
    startWithSessionCheckBox->setChecked(util::SessionAutostart().isEnabled());
}

void SettingsTabs::exportSettingsButtonActionPerformed() {
    transferSettings(true);
}

void SettingsTabs::importSettingsButtonActionPerformed() {
    transferSettings(false);
}

void SettingsTabs::transferSettings(bool exporting) {
    prefs::SettingsStore* store = nullptr;
    try {
        store = &host_.store();
    } catch (const std::exception& e) {
        message(QStringLiteral("error"),
                text(exporting ? "export.failed" : "import.failed") + QString::fromUtf8(e.what()),
                int(Kind::Error));
        return;
    }
    SettingsTransfer transfer(*store, Dialogs::prompts(),
                              exporting ? SettingsTransfer::Hooks{host_.transfer.saveCurrent, {}}
                                        : SettingsTransfer::Hooks{{}, host_.transfer.exit},
                              host_.window);
    if (exporting)
        transfer.exportSettings();
    else
        transfer.importSettings();
}

bool SettingsTabs::verifyField(QLineEdit* field) {
    FieldVerifierHook* hook = FieldVerifierHook::of(field);
    return hook && hook->verify();
}

bool SettingsTabs::verifyMathOperand() {
    return verifyField(mathOperandTextField);
}
bool SettingsTabs::verifyDecimalPlaces() {
    return verifyField(decimalTextField);
}
bool SettingsTabs::verifyEditNumCharacters() {
    return verifyField(editNumCharactersTextField);
}
bool SettingsTabs::verifyRemoveCharacters() {
    return verifyField(removeCharactersTextField);
}
bool SettingsTabs::verifyEveryXValues() {
    return verifyField(everyXValuesTextField);
}
bool SettingsTabs::verifyDelay() {
    return verifyField(delayTextField);
}

void SettingsTabs::copyTo(Config& target) {
    // Refusals below may select a tab again; that change is not a tab left by the user.
    const bool nested = copying_;
    copying_ = true;

    portListItemStateChanged();
    instrumentBoxItemStateChanged();
    bitRateBoxItemStateChanged();
    dataBitsBoxItemStateChanged();
    stopBitsBoxItemStateChanged();
    parityBoxItemStateChanged();
    inputTerminatorBoxItemStateChanged();
    stableOnlyCheckBoxActionPerformed();
    verifyRequestCommand();
    requestModeBoxItemStateChanged();
    verifyRequestInterval();
    connectButtonActionPerformed();
    keyboardTypeBoxItemStateChanged();
    // A refusal the field made when it lost the focus is shown by it, once, and the text stays
    // for the user to correct.
    const FieldVerifierHook* delayCheck = FieldVerifierHook::of(delayTextField);
    if (!(delayCheck && delayCheck->refusalPending()) && !H::Delay::valid(delayTextField->text())) {
        if (!isClosing)
            message(QStringLiteral("error"), text("error.intercharacter.delay"), int(Kind::Error));
        delayTextField->setText(H::Delay::getDefault());
    }
    decimalSeparatorBoxItemStateChanged();
    startWithBoxItemStateChanged();
    outputTerminatorBoxItemStateChanged();
    outputTerminatorBox2ItemStateChanged();
    verifyMathOperand();
    verifyDecimalPlaces();
    verifyEditNumCharacters();
    verifyRemoveCharacters();
    verifyEveryXValues();
    verifyDelay();
    mathOperationBoxItemStateChanged();
    roundingMethodBoxItemStateChanged();
    soundComboBoxItemStateChanged();
    editOperationComboBoxItemStateChanged();
    editPositionComboBoxItemStateChanged();
    // An operation without an operand does nothing: show it as none.
    if (config.getMathOperation() != H::MathOperation::NONE &&
        mathOperandTextField->text().trimmed().isEmpty()) {
        mathOperationBox->setCurrentIndex(H::MathOperation::NONE);
        mathOperationBoxItemStateChanged();
    }
    // A division needs rounding; the division itself stays selected.
    if (config.getMathOperation() == H::MathOperation::DIVIDE &&
        decimalTextField->text().trimmed().isEmpty())
        queueDivisionReminder();
    ignoreDuplicatesCheckBoxActionPerformed();
    minimizeToTrayCheckBoxItemStateChanged();
    notifyWhenMinimizedToTrayCheckBoxItemStateChanged();
    checkForUpdatesCheckBoxItemStateChanged();
    abortAutoStartCheckBoxItemStateChanged();
    reconnectCheckBoxItemStateChanged();
    journalMqttPanel->copyTo(config.outputs);

    copying_ = nested;
    if (&target != &config)
        target = Config::copyConfig(config);
}

void SettingsTabs::queueDivisionReminder() {
    if (mathRoundingErrorWarningDisplayed || isClosing)
        return;
    mathRoundingErrorWarningDisplayed = true;
    QTimer::singleShot(0, this, [this] {
        if (!isClosing) {
            if (tabbedPane->indexOf(processingPanel) >= 0)
                tabbedPane->setCurrentWidget(processingPanel);
            decimalTextField->setFocus(Qt::OtherFocusReason);
            message(QStringLiteral("error"),
                    text("please.enter.number.of.decimal.places.for.rounding.or.disable.division"),
                    int(Kind::Warning));
        }
        mathRoundingErrorWarningDisplayed = false;
    });
}

} // namespace serwedge
