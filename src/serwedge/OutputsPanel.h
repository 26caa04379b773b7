#pragma once

#include "config/OutputSettings.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace serwedge {

// The page of the outputs beyond the keyboard: the journal of every reading (on, folder, days
// kept) and MQTT publishing (on, broker host and port, TLS with CA file, user, password, topic,
// retain). Typed-in numbers and the topic are checked when their field loses the focus and
// again when the page is copied; a refused text names the field and the rule and the stored
// value comes back.
class OutputsPanel : public QWidget {
public:
    explicit OutputsPanel(QWidget* parent = nullptr);

    void show(const config::OutputSettings& settings);
    // Copies the controls into settings; refused texts are reported and left as they were.
    void copyTo(config::OutputSettings& settings);

    QCheckBox* journalCheckBox = nullptr;
    QLineEdit* journalFolderTextField = nullptr;
    QPushButton* journalFolderButton = nullptr;
    QLineEdit* journalDaysTextField = nullptr;
    QCheckBox* mqttCheckBox = nullptr;
    QLineEdit* mqttHostTextField = nullptr;
    QLineEdit* mqttPortTextField = nullptr;
    QCheckBox* mqttTlsCheckBox = nullptr;
    QLineEdit* mqttCaFileTextField = nullptr;
    QPushButton* mqttCaFileButton = nullptr;
    QLineEdit* mqttUserTextField = nullptr;
    QLineEdit* mqttPasswordTextField = nullptr;
    QLineEdit* mqttTopicTextField = nullptr;
    QCheckBox* mqttRetainCheckBox = nullptr;

private:
    struct Checked {
        QLineEdit* field;
        bool (*valid)(const QString&);
        const char* messageKey;
        QString config::OutputSettings::*member;
    };
    // Checks one field: true when its text may be stored; else the refusal is shown once and
    // the field shows the stored text again.
    bool check(const Checked& c, const config::OutputSettings& stored);
    void enableControls();

    std::vector<Checked> checked_;
    config::OutputSettings shown_;
    bool reporting_ = false;
};

} // namespace serwedge
