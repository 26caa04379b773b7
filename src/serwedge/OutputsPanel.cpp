#include "serwedge/OutputsPanel.h"

#include "outputs/Journal.h"
#include "outputs/MqttPublisher.h"
#include "serwedge/Closing.h"
#include "serwedge/Dialogs.h"
#include "serwedge/util/TallyraBundle.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace serwedge {

namespace R = config::OutputRules;
using config::OutputSettings;

namespace {

QString text(const char* key) {
    return tallyraBundle().getString(QStringLiteral("WeightToKeyFrame2.") +
                                     QString::fromLatin1(key));
}

// A control with its label (mnemonic) and tooltip, named by its key "WeightToKeyFrame2.<name>".
void addRow(QFormLayout* form, const char* labelKey, QWidget* control, const char* tipKey,
            QLayout* row = nullptr) {
    auto* label = new QLabel(text(labelKey));
    label->setBuddy(control);
    control->setToolTip(text(tipKey));
    if (row)
        form->addRow(label, row);
    else
        form->addRow(label, control);
}

QCheckBox* checkBox(const char* name, QWidget* parent) {
    auto* box = new QCheckBox(text((QByteArray(name) + ".text").constData()), parent);
    box->setToolTip(text((QByteArray(name) + ".toolTipText").constData()));
    return box;
}

} // namespace

OutputsPanel::OutputsPanel(QWidget* parent) : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);

    auto* journalBox = new QGroupBox(text("journalBox.title"), this);
    auto* journalForm = new QFormLayout(journalBox);
    journalCheckBox = checkBox("journalCheckBox", journalBox);
    journalForm->addRow(journalCheckBox);
    journalFolderTextField = new QLineEdit(journalBox);
    journalFolderTextField->setPlaceholderText(
        QDir::toNativeSeparators(outputs::Journal::defaultFolder()));
    journalFolderButton = new QPushButton(text("journalFolderButton.text"), journalBox);
    journalFolderButton->setToolTip(text("journalFolderButton.toolTipText"));
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(journalFolderTextField, 1);
    folderRow->addWidget(journalFolderButton);
    addRow(journalForm, "journalFolderLabel.text", journalFolderTextField,
           "journalFolderTextField.toolTipText", folderRow);
    journalDaysTextField = new QLineEdit(journalBox);
    addRow(journalForm, "journalDaysLabel.text", journalDaysTextField,
           "journalDaysTextField.toolTipText");
    outer->addWidget(journalBox);

    auto* mqttBox = new QGroupBox(text("mqttBox.title"), this);
    auto* mqttForm = new QFormLayout(mqttBox);
    mqttCheckBox = checkBox("mqttCheckBox", mqttBox);
    mqttForm->addRow(mqttCheckBox);
    mqttHostTextField = new QLineEdit(mqttBox);
    addRow(mqttForm, "mqttHostLabel.text", mqttHostTextField, "mqttHostTextField.toolTipText");
    mqttPortTextField = new QLineEdit(mqttBox);
    addRow(mqttForm, "mqttPortLabel.text", mqttPortTextField, "mqttPortTextField.toolTipText");
    mqttTlsCheckBox = checkBox("mqttTlsCheckBox", mqttBox);
    mqttForm->addRow(mqttTlsCheckBox);
    mqttCaFileTextField = new QLineEdit(mqttBox);
    mqttCaFileButton = new QPushButton(text("mqttCaFileButton.text"), mqttBox);
    mqttCaFileButton->setToolTip(text("mqttCaFileButton.toolTipText"));
    auto* caRow = new QHBoxLayout;
    caRow->addWidget(mqttCaFileTextField, 1);
    caRow->addWidget(mqttCaFileButton);
    addRow(mqttForm, "mqttCaFileLabel.text", mqttCaFileTextField, "mqttCaFileTextField.toolTipText",
           caRow);
    mqttUserTextField = new QLineEdit(mqttBox);
    addRow(mqttForm, "mqttUserLabel.text", mqttUserTextField, "mqttUserTextField.toolTipText");
    mqttPasswordTextField = new QLineEdit(mqttBox);
    mqttPasswordTextField->setEchoMode(QLineEdit::Password);
    addRow(mqttForm, "mqttPasswordLabel.text", mqttPasswordTextField,
           "mqttPasswordTextField.toolTipText");
    mqttTopicTextField = new QLineEdit(mqttBox);
    addRow(mqttForm, "mqttTopicLabel.text", mqttTopicTextField, "mqttTopicTextField.toolTipText");
    mqttRetainCheckBox = checkBox("mqttRetainCheckBox", mqttBox);
    mqttForm->addRow(mqttRetainCheckBox);
    if (!outputs::MqttPublisher::availableInThisBuild()) {
        mqttForm->addRow(new QLabel(text("mqttNotAvailableLabel.text"), mqttBox));
        mqttCheckBox->setEnabled(false);
    }
    outer->addWidget(mqttBox);
    outer->addStretch(1);

    checked_ = {
        {journalDaysTextField, R::JournalDays::valid, "error.journal.days",
         &OutputSettings::journalDays},
        {mqttHostTextField, R::MqttHost::valid, "error.mqtt.host", &OutputSettings::mqttHost},
        {mqttPortTextField, R::MqttPort::valid, "error.mqtt.port", &OutputSettings::mqttPort},
        {mqttTopicTextField, R::MqttTopic::valid, "error.mqtt.topic", &OutputSettings::mqttTopic},
    };
    for (const Checked& c : checked_) {
        connect(c.field, &QLineEdit::editingFinished, this, [this, c] {
            if (check(c, shown_))
                shown_.*c.member = c.field->text().trimmed();
        });
    }
    connect(journalCheckBox, &QCheckBox::toggled, this, [this] { enableControls(); });
    connect(mqttCheckBox, &QCheckBox::toggled, this, [this] { enableControls(); });
    connect(mqttTlsCheckBox, &QCheckBox::toggled, this, [this] { enableControls(); });
    connect(journalFolderButton, &QPushButton::clicked, this, [this] {
        const QString dir = QFileDialog::getExistingDirectory(
            this, text("journalFolderButton.toolTipText"), journalFolderTextField->text());
        if (!dir.isEmpty())
            journalFolderTextField->setText(QDir::toNativeSeparators(dir));
    });
    connect(mqttCaFileButton, &QPushButton::clicked, this, [this] {
        const QString file = Dialogs::current().openFileName(
            this, text("mqttCaFileButton.toolTipText"), QStringLiteral("PEM (*.pem *.crt);;*"));
        if (!file.isEmpty())
            mqttCaFileTextField->setText(QDir::toNativeSeparators(file));
    });
}

void OutputsPanel::show(const OutputSettings& s) {
    shown_ = s;
    journalCheckBox->setChecked(s.journal);
    journalFolderTextField->setText(s.journalFolder);
    journalDaysTextField->setText(s.journalDays);
    mqttCheckBox->setChecked(s.mqtt && outputs::MqttPublisher::availableInThisBuild());
    mqttHostTextField->setText(s.mqttHost);
    mqttPortTextField->setText(s.mqttPort);
    mqttTlsCheckBox->setChecked(s.mqttTls);
    mqttCaFileTextField->setText(s.mqttCaFile);
    mqttUserTextField->setText(s.mqttUser);
    mqttPasswordTextField->setText(s.mqttPassword);
    mqttTopicTextField->setText(s.mqttTopic);
    mqttRetainCheckBox->setChecked(s.mqttRetain);
    enableControls();
}

void OutputsPanel::copyTo(OutputSettings& s) {
    for (const Checked& c : checked_) {
        if (check(c, s))
            s.*c.member = c.field->text().trimmed();
    }
    s.journal = journalCheckBox->isChecked();
    s.journalFolder = journalFolderTextField->text().trimmed();
    // Without MQTT in this build the box is off and disabled; the stored choice stays as it was
    // (a run then says that MQTT is not available), so that a settings file keeps it.
    s.mqtt =
        outputs::MqttPublisher::availableInThisBuild() ? mqttCheckBox->isChecked() : shown_.mqtt;
    s.mqttTls = mqttTlsCheckBox->isChecked();
    s.mqttCaFile = mqttCaFileTextField->text().trimmed();
    s.mqttUser = mqttUserTextField->text();
    s.mqttPassword = mqttPasswordTextField->text();
    s.mqttRetain = mqttRetainCheckBox->isChecked();
    shown_ = s;
}

bool OutputsPanel::check(const Checked& c, const OutputSettings& stored) {
    if (c.valid(c.field->text().trimmed()))
        return true;
    const QString previous = stored.*c.member;
    if (!reporting_ && !isClosing) {
        // One message at a time: the dialog takes the focus from the field, which would check
        // it again.
        reporting_ = true;
        Dialogs::current().message(window(), tallyraBundle().getString("error"),
                                   tallyraBundle().getString(c.messageKey), Dialogs::Kind::Error);
        reporting_ = false;
    }
    c.field->setText(previous);
    return false;
}

void OutputsPanel::enableControls() {
    const bool journal = journalCheckBox->isChecked();
    for (QWidget* w :
         {static_cast<QWidget*>(journalFolderTextField), static_cast<QWidget*>(journalFolderButton),
          static_cast<QWidget*>(journalDaysTextField)})
        w->setEnabled(journal);
    const bool mqtt = mqttCheckBox->isChecked();
    for (QWidget* w :
         {static_cast<QWidget*>(mqttHostTextField), static_cast<QWidget*>(mqttPortTextField),
          static_cast<QWidget*>(mqttTlsCheckBox), static_cast<QWidget*>(mqttUserTextField),
          static_cast<QWidget*>(mqttPasswordTextField), static_cast<QWidget*>(mqttTopicTextField),
          static_cast<QWidget*>(mqttRetainCheckBox)})
        w->setEnabled(mqtt);
    mqttCaFileTextField->setEnabled(mqtt && mqttTlsCheckBox->isChecked());
    mqttCaFileButton->setEnabled(mqtt && mqttTlsCheckBox->isChecked());
}

} // namespace serwedge
