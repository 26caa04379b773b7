#include "serwedge/DecimalSeparatorBox.h"

namespace serwedge {

namespace CH = config::ConfigHelper;

namespace {
const QString kNumber = QStringLiteral("NUMBER");
const QString kText = QStringLiteral("TEXT");
} // namespace

DecimalSeparatorBox::DecimalSeparatorBox(config::Config& config, QWidget* parent)
    : QComboBox(parent) {
    setObjectName(QStringLiteral("decimalSeparatorBox"));
    for (const CH::DecimalSeparator& s : CH::DecimalSeparator::values())
        addItem(s.toString(), s.ordinal());
    setSelectedSeparator(config.getDecimalSeparator());
    const auto& instrument = config.getInstrument();
    setEnabled(!instrument || instrument->getInstrumentType() == CH::InstrumentType::NUMBER);
    setConfig(&config);
}

DecimalSeparatorBox::~DecimalSeparatorBox() {
    setConfig(nullptr);
}

void DecimalSeparatorBox::setConfig(config::Config* config) {
    if (config_) {
        config_->removePropertyChangeListener(kNumber, this);
        config_->removePropertyChangeListener(kText, this);
    }
    config_ = config;
    if (config_) {
        config_->addPropertyChangeListener(kNumber, this);
        config_->addPropertyChangeListener(kText, this);
    }
}

CH::DecimalSeparator DecimalSeparatorBox::selectedSeparator() const {
    const int ordinal = currentData().toInt();
    return CH::DecimalSeparator(static_cast<CH::DecimalSeparator::Value>(
        ordinal >= 0 && ordinal < CH::DecimalSeparator::count() ? ordinal : 0));
}

void DecimalSeparatorBox::setSelectedSeparator(CH::DecimalSeparator separator) {
    setCurrentIndex(findData(separator.ordinal()));
}

void DecimalSeparatorBox::propertyChange(const config::PropertyChangeEvent& event) {
    if (event.propertyName == kNumber)
        setEnabled(true);
    else if (event.propertyName == kText)
        setEnabled(false);
}

} // namespace serwedge
