// The four settings pages and their controls, and selecting a record's values in them.

#include "serwedge/SettingsTabs.h"

#include "serwedge/DecimalSeparatorBox.h"
#include "serwedge/OutputsPanel.h"
#include "serwedge/util/FriendlyPortUtil.h"
#include "serwedge/util/SessionAutostart.h"
#include "serwedge/util/TallyraBundle.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSysInfo>
#include <QVBoxLayout>

#include <memory>
#include <vector>

namespace serwedge {

using config::Config;
namespace H = config::ConfigHelper;

namespace {

// Fills a choice with the display texts of an enumeration's constants, in their order.
template <class E> void fill(QComboBox* box) {
    for (const E& e : E::values())
        box->addItem(e.toString());
}

// A label with a mnemonic for its control, and the control's tooltip.
void addRow(QFormLayout* form, const QString& label, QWidget* control, const QString& tip) {
    auto* l = new QLabel(label);
    l->setBuddy(control);
    control->setToolTip(tip);
    form->addRow(l, control);
}

} // namespace

SettingsTabs::SettingsTabs(Config& record, Host host)
    : QObject(host.window), config(record), host_(std::move(host)), tabbedPane(host_.tabs) {
    inputPanel = buildInputPanel();
    processingPanel = buildProcessingPanel();
    outputPanel = buildOutputPanel();
    settingsPanel = buildSettingsPanel();
    journalMqttPanel = new OutputsPanel;
    connectHandlers();
}

QWidget* SettingsTabs::buildInputPanel() {
    auto* panel = new QWidget;
    auto* outer = new QVBoxLayout(panel);
    auto* form = new QFormLayout;
    outer->addLayout(form);

    portList = new QComboBox(panel);
    portList->setEditable(true); // a port the system does not list can be typed
    portList->setMinimumContentsLength(20);
    portList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    fillPortChoice();
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(portList, 1);
    refreshPortsButton = new QPushButton(text("WeightToKeyFrame2.refreshPortsButton.text"), panel);
    refreshPortsButton->setToolTip(text("WeightToKeyFrame2.refreshPortsButton.toolTipText"));
    autoButton = new QPushButton(text("WeightToKeyFrame2.autoButton.text"), panel);
    autoButton->setToolTip(text("WeightToKeyFrame2.autoButton.toolTipText"));
    portRow->addWidget(refreshPortsButton);
    portRow->addWidget(autoButton);
    {
        auto* l = new QLabel(text("WeightToKeyFrame2.portLabel.text"));
        l->setBuddy(portList);
        portList->setToolTip(text("WeightToKeyFrame2.portList.toolTipText"));
        form->addRow(l, portRow);
    }

    instrumentBox = new QComboBox(panel);
    {
        // Text presets are set in italics through the item's font; their toString() carries
        // the same as markup, which a list entry would show literally.
        QFont italic = instrumentBox->font();
        italic.setItalic(true);
        for (const H::Instrument& i : H::Instrument::values()) {
            instrumentBox->addItem(i.toPlainString());
            if (i.getInstrumentType() == H::InstrumentType::TEXT)
                instrumentBox->setItemData(instrumentBox->count() - 1, italic, Qt::FontRole);
        }
    }
    auto* instrumentRow = new QHBoxLayout;
    instrumentRow->addWidget(instrumentBox, 1);
    defaultButton = new QPushButton(text("WeightToKeyFrame2.defaultButton.text"), panel);
    defaultButton->setToolTip(text("WeightToKeyFrame2.defaultButton.toolTipText"));
    customizeButton = new QPushButton(text("WeightToKeyFrame2.customizeButton.text"), panel);
    customizeButton->setToolTip(text("WeightToKeyFrame2.customizeButton.toolTipText"));
    instrumentRow->addWidget(defaultButton);
    instrumentRow->addWidget(customizeButton);
    // Shown beside the instrument while an expression of the user's own finds the value.
    customPatternLabel = new QLabel(text("WeightToKeyFrame2.customPatternLabel.text"), panel);
    QFont small = customPatternLabel->font();
    small.setItalic(true);
    small.setPointSizeF(small.pointSizeF() * 0.9);
    customPatternLabel->setFont(small);
    customPatternLabel->hide();
    instrumentRow->insertWidget(1, customPatternLabel);
    {
        auto* l = new QLabel(text("WeightToKeyFrame2.instrumentLabel.text"));
        l->setBuddy(instrumentBox);
        instrumentBox->setToolTip(text("WeightToKeyFrame2.instrumentBox.toolTipText"));
        form->addRow(l, instrumentRow);
    }

    bitRateBox = new QComboBox(panel);
    fill<H::BitRates>(bitRateBox);
    addRow(form, text("WeightToKeyFrame2.bitRateLabel.text"), bitRateBox,
           text("WeightToKeyFrame2.bitRateBox.toolTipText"));
    dataBitsBox = new QComboBox(panel);
    fill<H::DataBits>(dataBitsBox);
    addRow(form, text("WeightToKeyFrame2.dataBitsLabel.text"), dataBitsBox,
           text("WeightToKeyFrame2.dataBitsBox.toolTipText"));
    stopBitsBox = new QComboBox(panel);
    fill<H::StopBits>(stopBitsBox);
    addRow(form, text("WeightToKeyFrame2.stopBitsLabel.text"), stopBitsBox,
           text("WeightToKeyFrame2.stopBitsBox.toolTipText"));
    parityBox = new QComboBox(panel);
    fill<H::Parity>(parityBox);
    addRow(form, text("WeightToKeyFrame2.parityLabel.text"), parityBox,
           text("WeightToKeyFrame2.parityBox.toolTipText"));
    inputTerminatorBox = new QComboBox(panel);
    inputTerminatorBox->setEditable(true);
    inputTerminatorBox->setInsertPolicy(QComboBox::NoInsert);
    fill<H::InputTerminator>(inputTerminatorBox);
    addRow(form, text("WeightToKeyFrame2.inputTerminatorLabel.text"), inputTerminatorBox,
           text("WeightToKeyFrame2.inputTerminatorBox.toolTipText"));

    // Talking to the instrument: stable values only, and the command that asks for a value.
    stableOnlyCheckBox = new QCheckBox(text("WeightToKeyFrame2.stableOnlyCheckBox.text"), panel);
    stableOnlyCheckBox->setToolTip(text("WeightToKeyFrame2.stableOnlyCheckBox.toolTipText"));
    form->addRow(stableOnlyCheckBox);
    requestCommandBox = new QComboBox(panel);
    requestCommandBox->setEditable(true);
    requestCommandBox->setInsertPolicy(QComboBox::NoInsert);
    addRow(form, text("WeightToKeyFrame2.requestCommandLabel.text"), requestCommandBox,
           text("WeightToKeyFrame2.requestCommandBox.toolTipText"));
    requestModeBox = new QComboBox(panel);
    fill<H::RequestMode>(requestModeBox);
    addRow(form, text("WeightToKeyFrame2.requestModeLabel.text"), requestModeBox,
           text("WeightToKeyFrame2.requestModeBox.toolTipText"));
    requestIntervalTextField = new QLineEdit(panel);
    addRow(form, text("WeightToKeyFrame2.requestIntervalLabel.text"), requestIntervalTextField,
           text("WeightToKeyFrame2.requestIntervalTextField.toolTipText"));
    outer->addStretch(1);
    return panel;
}

QWidget* SettingsTabs::buildProcessingPanel() {
    auto* panel = new QWidget;
    auto* outer = new QVBoxLayout(panel);
    auto* form = new QFormLayout;
    outer->addLayout(form);
    mathOperationBox = new QComboBox(panel);
    fill<H::MathOperation>(mathOperationBox);
    addRow(form, text("WeightToKeyFrame2.mathOperationLabel.text"), mathOperationBox,
           text("WeightToKeyFrame2.mathOperationBox.toolTipText"));
    mathOperandTextField = new QLineEdit(panel);
    addRow(form, text("WeightToKeyFrame2.mathOperandLabel.text"), mathOperandTextField,
           text("WeightToKeyFrame2.mathOperandTextField.toolTipText"));
    decimalTextField = new QLineEdit(panel);
    addRow(form, text("WeightToKeyFrame2.decimalLabel.text"), decimalTextField,
           text("WeightToKeyFrame2.decimalTextField.toolTipText"));
    roundingMethodBox = new QComboBox(panel);
    fill<H::RoundingMethod>(roundingMethodBox);
    addRow(form, text("WeightToKeyFrame2.roundingMethodLabel.text"), roundingMethodBox,
           text("WeightToKeyFrame2.roundingMethodBox.toolTipText"));
    editOperationComboBox = new QComboBox(panel);
    fill<H::EditOperation>(editOperationComboBox);
    addRow(form, text("WeightToKeyFrame2.editOperationLabel.text"), editOperationComboBox,
           text("WeightToKeyFrame2.editOperationComboBox.toolTipText"));
    editPositionComboBox = new QComboBox(panel);
    fill<H::EditPosition>(editPositionComboBox);
    addRow(form, text("WeightToKeyFrame2.editPositionLabel.text"), editPositionComboBox,
           text("WeightToKeyFrame2.editPositionComboBox.toolTipText"));
    editNumCharactersTextField = new QLineEdit(panel);
    addRow(form, text("WeightToKeyFrame2.editNumCharactersLabel.text"), editNumCharactersTextField,
           text("WeightToKeyFrame2.editNumCharactersTextField.toolTipText"));
    removeCharactersTextField = new QLineEdit(panel);
    addRow(form, text("WeightToKeyFrame2.removeCharactersLabel.text"), removeCharactersTextField,
           text("WeightToKeyFrame2.removeCharactersTextField.toolTipText"));
    auto* ignoreRow = new QHBoxLayout;
    ignoreDuplicatesCheckBox =
        new QCheckBox(text("WeightToKeyFrame2.ignoreDuplicatesCheckBox.text"), panel);
    ignoreDuplicatesCheckBox->setToolTip(
        text("WeightToKeyFrame2.ignoreDuplicatesCheckBox.toolTipText"));
    adjustIgnoreButton = new QPushButton(text("WeightToKeyFrame2.adjustIgnoreButton.text"), panel);
    adjustIgnoreButton->setToolTip(text("WeightToKeyFrame2.adjustIgnoreButton.toolTipText"));
    ignoreRow->addWidget(ignoreDuplicatesCheckBox);
    ignoreRow->addWidget(adjustIgnoreButton);
    ignoreRow->addStretch(1);
    form->addRow(ignoreRow);
    outer->addStretch(1);
    return panel;
}

QWidget* SettingsTabs::buildOutputPanel() {
    auto* panel = new QWidget;
    auto* outer = new QVBoxLayout(panel);
    auto* form = new QFormLayout;
    outer->addLayout(form);
    decimalSeparatorBox = new DecimalSeparatorBox(config, panel);
    addRow(form, text("WeightToKeyFrame2.decimalSeparatorLabel.text"), decimalSeparatorBox,
           text("WeightToKeyFrame2.decimalSeparatorBox.toolTipText"));
    outputTerminatorBox = new QComboBox(panel);
    fill<H::OutputTerminator>(outputTerminatorBox);
    addRow(form, text("WeightToKeyFrame2.outputTerminatorLabel.text"), outputTerminatorBox,
           text("WeightToKeyFrame2.outputTerminatorBox.toolTipText"));
    soundComboBox = new QComboBox(panel);
    fill<H::Sound>(soundComboBox);
    addRow(form, text("WeightToKeyFrame2.soundLabel.text"), soundComboBox,
           text("WeightToKeyFrame2.soundComboBox.toolTipText"));
    keyboardTypeBox = new QComboBox(panel);
    fill<H::KeyboardType>(keyboardTypeBox);
    addRow(form, text("WeightToKeyFrame2.keyboardTypeLabel.text"), keyboardTypeBox,
           text("WeightToKeyFrame2.keyboardTypeBox.toolTipText"));
    startWithBox = new QComboBox(panel);
    fill<H::StartWith>(startWithBox);
    addRow(form, text("WeightToKeyFrame2.startWithLabel.text"), startWithBox,
           text("WeightToKeyFrame2.startWithBox.toolTipText"));
    delayTextField = new QLineEdit(panel);
    addRow(form, text("WeightToKeyFrame2.delayLabel.text"), delayTextField,
           text("WeightToKeyFrame2.delayTextField.toolTipText"));
    outputTerminatorBox2 = new QComboBox(panel);
    fill<H::OutputTerminator>(outputTerminatorBox2);
    addRow(form, text("WeightToKeyFrame2.outputTerminator2Label.text"), outputTerminatorBox2,
           text("WeightToKeyFrame2.outputTerminatorBox2.toolTipText"));
    everyXValuesTextField = new QLineEdit(panel);
    addRow(form, text("WeightToKeyFrame2.everyXValuesLabel.text"), everyXValuesTextField,
           text("WeightToKeyFrame2.everyXValuesTextField.toolTipText"));
    outer->addStretch(1);
    return panel;
}

QWidget* SettingsTabs::buildSettingsPanel() {
    auto* panel = new QWidget;
    auto* outer = new QVBoxLayout(panel);

    auto* connectBox = new QGroupBox(text("WeightToKeyFrame2.connectLabel.text"), panel);
    auto* connectLayout = new QVBoxLayout(connectBox);
    manualConnectButton =
        new QRadioButton(text("WeightToKeyFrame2.manualConnectButton.text"), connectBox);
    manualConnectButton->setToolTip(text("WeightToKeyFrame2.manualConnectButton.toolTipText"));
    autoConnectButton =
        new QRadioButton(text("WeightToKeyFrame2.autoConnectButton.text"), connectBox);
    autoConnectButton->setToolTip(text("WeightToKeyFrame2.autoConnectButton.toolTipText"));
    connectButtonGroup = new QButtonGroup(this);
    connectButtonGroup->addButton(manualConnectButton);
    connectButtonGroup->addButton(autoConnectButton);
    connectLayout->addWidget(manualConnectButton);
    connectLayout->addWidget(autoConnectButton);
    abortAutoStartCheckBox =
        new QCheckBox(text("WeightToKeyFrame2.abortAutoStartCheckBox.text"), connectBox);
    abortAutoStartCheckBox->setToolTip(
        text("WeightToKeyFrame2.abortAutoStartCheckBox.toolTipText"));
    connectLayout->addWidget(abortAutoStartCheckBox);
    reconnectCheckBox = new QCheckBox(text("WeightToKeyFrame2.reconnectCheckBox.text"), connectBox);
    reconnectCheckBox->setToolTip(text("WeightToKeyFrame2.reconnectCheckBox.toolTipText"));
    connectLayout->addWidget(reconnectCheckBox);
    outer->addWidget(connectBox);

    auto* form = new QFormLayout;
    minimizeToTrayCheckBox =
        new QCheckBox(text("WeightToKeyFrame2.minimizeToTrayCheckBox.text"), panel);
    minimizeToTrayCheckBox->setToolTip(
        text("WeightToKeyFrame2.minimizeToTrayCheckBox.toolTipText"));
    form->addRow(minimizeToTrayCheckBox);
    notifyWhenMinimizedToTrayCheckBox =
        new QCheckBox(text("WeightToKeyFrame2.notifyWhenMinimizedToTrayCheckBox.text"), panel);
    notifyWhenMinimizedToTrayCheckBox->setToolTip(
        text("WeightToKeyFrame2.notifyWhenMinimizedToTrayCheckBox.toolTipText"));
    form->addRow(notifyWhenMinimizedToTrayCheckBox);
    checkForUpdatesCheckBox =
        new QCheckBox(text("WeightToKeyFrame2.checkForUpdatesCheckBox.text"), panel);
    checkForUpdatesCheckBox->setToolTip(
        text("WeightToKeyFrame2.checkForUpdatesCheckBox.toolTipText"));
    form->addRow(text("WeightToKeyFrame2.updatesLabel.text"), checkForUpdatesCheckBox);
    // Desktop sessions with XDG autostart entries; Windows starts programs otherwise.
    if (QSysInfo::kernelType() != QLatin1String("winnt")) {
        startWithSessionCheckBox =
            new QCheckBox(text("WeightToKeyFrame2.startWithSessionCheckBox.text"), panel);
        startWithSessionCheckBox->setToolTip(
            text("WeightToKeyFrame2.startWithSessionCheckBox.toolTipText"));
        form->addRow(startWithSessionCheckBox);
    }
    outer->addLayout(form);

    auto* files = new QHBoxLayout;
    importSettingsButton =
        new QPushButton(text("WeightToKeyFrame2.importSettingsButton.text"), panel);
    importSettingsButton->setToolTip(text("WeightToKeyFrame2.importSettingsButton.toolTipText"));
    exportSettingsButton =
        new QPushButton(text("WeightToKeyFrame2.exportSettingsButton.text"), panel);
    exportSettingsButton->setToolTip(text("WeightToKeyFrame2.exportSettingsButton.toolTipText"));
    files->addWidget(importSettingsButton);
    files->addWidget(exportSettingsButton);
    files->addStretch(1);
    outer->addLayout(files);
    outer->addStretch(1);
    return panel;
}

void SettingsTabs::fillPortChoice() {
    const QSignalBlocker block(portList);
    portList->clear();
    for (const QString& name : *host_.ports)
        portList->addItem(QString::fromStdString(
            util::FriendlyPortUtil::getFriendlyPortName(name.toStdString())));
}

void SettingsTabs::show(const Config& record) {
    // Selecting copies nothing back: the handlers do not hear it.
    QObject* const controls[] = {portList,
                                 instrumentBox,
                                 bitRateBox,
                                 dataBitsBox,
                                 stopBitsBox,
                                 parityBox,
                                 inputTerminatorBox,
                                 stableOnlyCheckBox,
                                 requestCommandBox,
                                 requestModeBox,
                                 mathOperationBox,
                                 roundingMethodBox,
                                 editOperationComboBox,
                                 editPositionComboBox,
                                 ignoreDuplicatesCheckBox,
                                 decimalSeparatorBox,
                                 outputTerminatorBox,
                                 soundComboBox,
                                 keyboardTypeBox,
                                 startWithBox,
                                 outputTerminatorBox2,
                                 manualConnectButton,
                                 autoConnectButton,
                                 minimizeToTrayCheckBox,
                                 notifyWhenMinimizedToTrayCheckBox,
                                 checkForUpdatesCheckBox,
                                 abortAutoStartCheckBox,
                                 reconnectCheckBox,
                                 startWithSessionCheckBox};
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (QObject* control : controls)
        if (control)
            quiet.push_back(std::make_unique<QSignalBlocker>(control));

    const QString friendly = QString::fromStdString(
        util::FriendlyPortUtil::getFriendlyPortName(record.getPort().toStdString()));
    const int portIndex = portList->findText(friendly);
    if (portIndex >= 0)
        portList->setCurrentIndex(portIndex);
    else if (record.getPort().startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive))
        portList->setEditText(record.getPort()); // network instruments are typed, never listed
    else if (portList->count() > 0)
        portList->setCurrentIndex(0); // the stored port is no longer offered
    else
        portList->setEditText(record.getPort());
    instrumentBox->setCurrentIndex(
        record.getInstrument().value_or(H::Instrument::getDefault()).ordinal());
    showCustomPattern(record.getCustomRegEx());
    bitRateBox->setCurrentIndex(record.getBitRate());
    dataBitsBox->setCurrentIndex(record.getDataBits());
    stopBitsBox->setCurrentIndex(record.getStopBits());
    parityBox->setCurrentIndex(record.getParity());
    selectTerminator(record.getInputTerminator());
    showRequest(record);
    mathOperationBox->setCurrentIndex(record.getMathOperation().ordinal());
    mathOperandTextField->setText(record.getMathOperand());
    decimalTextField->setText(record.getDecimalPlaces());
    roundingMethodBox->setCurrentIndex(record.getRoundingMethod().ordinal());
    editOperationComboBox->setCurrentIndex(record.getEditOperation().ordinal());
    editPositionComboBox->setCurrentIndex(record.getEditPosition().ordinal());
    editNumCharactersTextField->setText(record.getEditNumCharacters());
    removeCharactersTextField->setText(record.getRemoveCharacters());
    ignoreDuplicatesCheckBox->setChecked(record.ignoreDuplicates);
    decimalSeparatorBox->setSelectedSeparator(record.getDecimalSeparator());
    outputTerminatorBox->setCurrentIndex(record.getOutputTerminator().ordinal());
    soundComboBox->setCurrentIndex(record.getSound().ordinal());
    keyboardTypeBox->setCurrentIndex(record.getKeyboardType().ordinal());
    startWithBox->setCurrentIndex(record.getStartWith().ordinal());
    delayTextField->setText(record.getDelay());
    outputTerminatorBox2->setCurrentIndex(record.getOutputTerminator2().ordinal());
    everyXValuesTextField->setText(record.getEveryXValues());
    (record.getConnect() == H::Connect::AUTO ? autoConnectButton : manualConnectButton)
        ->setChecked(true);
    minimizeToTrayCheckBox->setChecked(record.minimizeToTray);
    notifyWhenMinimizedToTrayCheckBox->setChecked(record.notifyWhenMinimizedToTray);
    checkForUpdatesCheckBox->setChecked(record.checkForUpdates);
    abortAutoStartCheckBox->setChecked(record.abortAutoStartWhenPrevPortNotAvailable);
    reconnectCheckBox->setChecked(record.reconnect);
    if (startWithSessionCheckBox)
        startWithSessionCheckBox->setChecked(util::SessionAutostart().isEnabled());
    journalMqttPanel->show(record.outputs);
}

} // namespace serwedge
