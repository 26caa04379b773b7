// The controls of the input tab that talk to the instrument: stable values only, the request
// command with the preset's own commands offered, when it is sent, and how often.

#include "serwedge/SettingsTabs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace serwedge {

using config::Config;
namespace H = config::ConfigHelper;

void SettingsTabs::stableOnlyCheckBoxActionPerformed() {
    config.stableOnly = stableOnlyCheckBox->isChecked();
}

void SettingsTabs::requestModeBoxItemStateChanged() {
    const H::RequestMode mode(
        static_cast<H::RequestMode::Value>(std::max(0, requestModeBox->currentIndex())));
    config.setRequestMode(mode);
    requestIntervalTextField->setEnabled(mode == H::RequestMode::INTERVAL);
}

bool SettingsTabs::verifyRequestCommand() {
    return verifyField(requestCommandBox->lineEdit());
}

bool SettingsTabs::verifyRequestInterval() {
    return verifyField(requestIntervalTextField);
}

void SettingsTabs::showRequest(const Config& record) {
    offerRequestCommands(record.getInstrument().value_or(H::Instrument::getDefault()),
                         record.getRequestCommand());
    const QSignalBlocker quiet(requestModeBox);
    requestModeBox->setCurrentIndex(record.getRequestMode().ordinal());
    requestIntervalTextField->setText(record.getRequestIntervalMs());
    requestIntervalTextField->setEnabled(record.getRequestMode() == H::RequestMode::INTERVAL);
    stableOnlyCheckBox->setChecked(record.stableOnly);
}

void SettingsTabs::offerRequestCommands(const H::Instrument& instrument, const QString& command) {
    const QSignalBlocker quiet(requestCommandBox);
    requestCommandBox->clear();
    requestCommandBox->addItems(instrument.getRequestCommands());
    requestCommandBox->setEditText(command);
}

void SettingsTabs::followPresetRequest(const H::Instrument& previous,
                                       const H::Instrument& selected) {
    // What the user typed, confirmed or not, stays theirs.
    QString command = requestCommandBox->currentText();
    if (command.isEmpty() || previous.getRequestCommands().contains(command)) {
        command = selected.getRequestCommand();
        config.setRequestCommand(command.isNull() ? QStringLiteral("") : command);
    }
    offerRequestCommands(selected, command);
    if (config.getRequestMode() == previous.getDefaultRequestMode()) {
        config.setRequestMode(selected.getDefaultRequestMode());
        const QSignalBlocker quiet(requestModeBox);
        requestModeBox->setCurrentIndex(config.getRequestMode().ordinal());
        requestIntervalTextField->setEnabled(false);
    }
}

} // namespace serwedge
