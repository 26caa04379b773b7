#include "config/Config.h"

#include "config/Decimal.h"
#include "config/IntParse.h"

#include <algorithm>

namespace serwedge::config {

using namespace ConfigHelper;

void PropertyChangeSupport::addPropertyChangeListener(const QString& name,
                                                      PropertyChangeListener* listener) {
    if (listener)
        listeners_.emplace_back(name, listener);
}

void PropertyChangeSupport::removePropertyChangeListener(const QString& name,
                                                         PropertyChangeListener* listener) {
    auto it = std::find(listeners_.begin(), listeners_.end(), std::pair{name, listener});
    if (it != listeners_.end())
        listeners_.erase(it);
}

void PropertyChangeSupport::firePropertyChange(const PropertyChangeEvent& event) const {
    // A listener may remove itself while being notified: walk a snapshot.
    const auto snapshot = listeners_;
    for (const auto& [name, listener] : snapshot) {
        if (name == event.propertyName)
            listener->propertyChange(event);
    }
}

Config::Config() = default;

Config::Config(QString port, std::optional<Instrument> instrument, int bitRate, int dataBits,
               int stopBits, int parity, int inputTerminator, Connect connect,
               KeyboardType keyboardType, QString delay, DecimalSeparator decimalSeparator,
               StartWith startWith, OutputTerminator outputTerminator,
               OutputTerminator outputTerminator2, QString everyXValues,
               MathOperation mathOperation, QString mathOperand, QString decimalPlaces,
               RoundingMethod roundingMethod, Sound sound, bool minimizeToTray,
               bool notifyWhenMinimizedToTray, bool checkForUpdates,
               bool abortAutoStartWhenPrevPortNotAvailable, EditOperation editOperation,
               EditPosition editPosition, QString editNumCharacters, QString removeCharacters,
               QString customRegEx, bool ignoreDuplicates, QString ignoreTimeLimit,
               QString ignoreDifference)
    : minimizeToTray(minimizeToTray), notifyWhenMinimizedToTray(notifyWhenMinimizedToTray),
      checkForUpdates(checkForUpdates),
      abortAutoStartWhenPrevPortNotAvailable(abortAutoStartWhenPrevPortNotAvailable),
      ignoreDuplicates(ignoreDuplicates), port_(std::move(port)), instrument_(instrument),
      bitRate_(bitRate), dataBits_(dataBits), stopBits_(stopBits), parity_(parity),
      inputTerminator_(inputTerminator), decimalSeparator_(decimalSeparator), startWith_(startWith),
      outputTerminator_(outputTerminator), outputTerminator2_(outputTerminator2),
      everyXValues_(std::move(everyXValues)), connect_(connect), mathOperation_(mathOperation),
      mathOperand_(std::move(mathOperand)), decimalPlaces_(std::move(decimalPlaces)),
      roundingMethod_(roundingMethod), sound_(sound), keyboardType_(keyboardType),
      delay_(std::move(delay)), editOperation_(editOperation), editPosition_(editPosition),
      editNumCharacters_(std::move(editNumCharacters)),
      removeCharacters_(std::move(removeCharacters)), customRegEx_(std::move(customRegEx)),
      ignoreTimeLimit_(std::move(ignoreTimeLimit)), ignoreDifference_(std::move(ignoreDifference)) {
}

void Config::setInstrument(std::optional<Instrument> v) {
    instrument_ = v;
    const bool number = v && v->getInstrumentType() == InstrumentType::NUMBER;
    propertyChangeSupport_.firePropertyChange(
        {this, number ? QStringLiteral("NUMBER") : QStringLiteral("TEXT"), std::nullopt, v});
}

std::optional<int> Config::getDecimalPlacesAsInt() const {
    return parseDecimalInt(decimalPlaces_);
}

int Config::getDelayAsInt() const {
    return parseDecimalInt(delay_).value_or(20);
}

int Config::getEditNumCharactersAsInt() const {
    return parseDecimalInt(editNumCharacters_).value_or(0);
}

int Config::getEveryXValuesAsInt() const {
    return parseDecimalInt(everyXValues_).value_or(0);
}

int Config::getRequestIntervalMsAsInt() const {
    const auto ms = parseDecimalInt(requestIntervalMs_);
    if (!ms || *ms < RequestIntervalMs::kMinimum || *ms > RequestIntervalMs::kMaximum)
        return RequestIntervalMs::kDefault;
    return *ms;
}

void Config::takeRequestDefaultsOf(const Instrument& instrument) {
    requestCommand_ = instrument.getRequestCommand();
    if (requestCommand_.isNull())
        requestCommand_ = QStringLiteral("");
    requestMode_ = instrument.getDefaultRequestMode();
}

bool Config::roundingEnabled() const {
    const auto places = parseDecimalInt(decimalPlaces_);
    return places && *places >= 0 && *places <= 7;
}

bool Config::mathOperationEnabled() const {
    if (mathOperation_ == MathOperation::NONE || mathOperand_.isEmpty())
        return false;
    return mathOperation_ == MathOperation::MULTIPLY ||
           (mathOperation_ == MathOperation::DIVIDE && roundingEnabled());
}

void Config::addPropertyChangeListener(const QString& name, PropertyChangeListener* listener) {
    propertyChangeSupport_.addPropertyChangeListener(name, listener);
}

void Config::removePropertyChangeListener(const QString& name, PropertyChangeListener* listener) {
    propertyChangeSupport_.removePropertyChangeListener(name, listener);
}

Config Config::copyConfig(const Config& s) {
    Config c(s.port_, s.instrument_, s.bitRate_, s.dataBits_, s.stopBits_, s.parity_,
             s.inputTerminator_, s.connect_, s.keyboardType_, s.delay_, s.decimalSeparator_,
             s.startWith_, s.outputTerminator_, s.outputTerminator2_, s.everyXValues_,
             s.mathOperation_, s.mathOperand_, s.decimalPlaces_, s.roundingMethod_, s.sound_,
             s.minimizeToTray, s.notifyWhenMinimizedToTray, s.checkForUpdates,
             s.abortAutoStartWhenPrevPortNotAvailable, s.editOperation_, s.editPosition_,
             s.editNumCharacters_, s.removeCharacters_, s.customRegEx_, s.ignoreDuplicates,
             s.ignoreTimeLimit_, s.ignoreDifference_);
    c.outputs = s.outputs;
    c.stableOnly = s.stableOnly;
    c.reconnect = s.reconnect;
    c.requestCommand_ = s.requestCommand_;
    c.requestMode_ = s.requestMode_;
    c.requestIntervalMs_ = s.requestIntervalMs_;
    return c;
}

namespace {

// Two absent texts are equal; an absent text differs from any present one.
bool textDiffers(const QString& a, const QString& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() != b.isNull();
    return a != b;
}

} // namespace

bool Config::hasChanged(const Config& a, const Config& b) {
    return textDiffers(a.port_, b.port_) || a.instrument_ != b.instrument_ ||
           a.bitRate_ != b.bitRate_ || a.dataBits_ != b.dataBits_ || a.stopBits_ != b.stopBits_ ||
           a.parity_ != b.parity_ || a.inputTerminator_ != b.inputTerminator_ ||
           a.connect_ != b.connect_ || a.keyboardType_ != b.keyboardType_ ||
           textDiffers(a.delay_, b.delay_) || a.decimalSeparator_ != b.decimalSeparator_ ||
           a.startWith_ != b.startWith_ || a.outputTerminator_ != b.outputTerminator_ ||
           a.outputTerminator2_ != b.outputTerminator2_ ||
           textDiffers(a.everyXValues_, b.everyXValues_) || a.mathOperation_ != b.mathOperation_ ||
           textDiffers(a.mathOperand_, b.mathOperand_) ||
           textDiffers(a.decimalPlaces_, b.decimalPlaces_) ||
           a.roundingMethod_ != b.roundingMethod_ || a.sound_ != b.sound_ ||
           a.minimizeToTray != b.minimizeToTray ||
           a.notifyWhenMinimizedToTray != b.notifyWhenMinimizedToTray ||
           a.checkForUpdates != b.checkForUpdates ||
           a.abortAutoStartWhenPrevPortNotAvailable != b.abortAutoStartWhenPrevPortNotAvailable ||
           a.editOperation_ != b.editOperation_ || a.editPosition_ != b.editPosition_ ||
           textDiffers(a.editNumCharacters_, b.editNumCharacters_) ||
           textDiffers(a.removeCharacters_, b.removeCharacters_) ||
           textDiffers(a.customRegEx_, b.customRegEx_) ||
           a.ignoreDuplicates != b.ignoreDuplicates ||
           textDiffers(a.ignoreTimeLimit_, b.ignoreTimeLimit_) ||
           textDiffers(a.ignoreDifference_, b.ignoreDifference_) || a.stableOnly != b.stableOnly ||
           textDiffers(a.requestCommand_, b.requestCommand_) || a.requestMode_ != b.requestMode_ ||
           textDiffers(a.requestIntervalMs_, b.requestIntervalMs_) || a.outputs != b.outputs ||
           a.reconnect != b.reconnect;
}

} // namespace serwedge::config

namespace serwedge::config {

Decimal Config::getMathOperandAsBigDecimal() const {
    return Decimal::parse(mathOperand_);
}

} // namespace serwedge::config
