#pragma once

#include "config/Config.h"

#include <QComboBox>

namespace serwedge {

// The decimal-separator choice: every constant of DecimalSeparator, starting with the
// configuration's separator. It follows the selected instrument's kind through the
// configuration's property changes: "NUMBER" enables it, "TEXT" disables it (a text preset
// types no numbers), other names are ignored.
class DecimalSeparatorBox : public QComboBox, public config::PropertyChangeListener {
public:
    // Registers for "NUMBER" and "TEXT" with the configuration and takes its separator. The box
    // is enabled when the configuration's instrument is numeric (or not set).
    explicit DecimalSeparatorBox(config::Config& config, QWidget* parent = nullptr);
    ~DecimalSeparatorBox() override;

    // Moves the registration to another record; nullptr detaches. A record that goes away
    // before the box must be detached first.
    void setConfig(config::Config* config);

    config::ConfigHelper::DecimalSeparator selectedSeparator() const;
    void setSelectedSeparator(config::ConfigHelper::DecimalSeparator separator);

    void propertyChange(const config::PropertyChangeEvent& event) override;

private:
    config::Config* config_ = nullptr;
};

} // namespace serwedge
