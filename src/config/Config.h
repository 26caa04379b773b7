#pragma once

#include "config/ConfigHelper.h"
#include "config/Instrument.h"
#include "config/OutputSettings.h"

#include <QString>

#include <optional>
#include <vector>

namespace serwedge::config {

class Config;
class Decimal;

// A named-property change of a configuration record.
struct PropertyChangeEvent {
    const Config* source;
    QString propertyName;
    std::optional<ConfigHelper::Instrument> oldValue;
    std::optional<ConfigHelper::Instrument> newValue;
};

class PropertyChangeListener {
public:
    virtual ~PropertyChangeListener() = default;
    virtual void propertyChange(const PropertyChangeEvent& event) = 0;
};

// Listener registrations of one record. Never copied: a copy starts with no listeners.
class PropertyChangeSupport {
public:
    PropertyChangeSupport() = default;
    PropertyChangeSupport(const PropertyChangeSupport&) {}
    PropertyChangeSupport& operator=(const PropertyChangeSupport&) { return *this; }

    void addPropertyChangeListener(const QString& name, PropertyChangeListener* listener);
    void removePropertyChangeListener(const QString& name, PropertyChangeListener* listener);
    void firePropertyChange(const PropertyChangeEvent& event) const;

private:
    std::vector<std::pair<QString, PropertyChangeListener*>> listeners_;
};

// The one record of every user setting. Typed-in settings are kept as the text entered; the
// empty text means that the option is not used.
class Config {
public:
    using Instrument = ConfigHelper::Instrument;

    // Bare record: every field has its bare default.
    Config();
    // The 32 settings in this order; prevPort stays unset.
    Config(QString port, std::optional<Instrument> instrument, int bitRate, int dataBits,
           int stopBits, int parity, int inputTerminator, ConfigHelper::Connect connect,
           ConfigHelper::KeyboardType keyboardType, QString delay,
           ConfigHelper::DecimalSeparator decimalSeparator, ConfigHelper::StartWith startWith,
           ConfigHelper::OutputTerminator outputTerminator,
           ConfigHelper::OutputTerminator outputTerminator2, QString everyXValues,
           ConfigHelper::MathOperation mathOperation, QString mathOperand, QString decimalPlaces,
           ConfigHelper::RoundingMethod roundingMethod, ConfigHelper::Sound sound,
           bool minimizeToTray, bool notifyWhenMinimizedToTray, bool checkForUpdates,
           bool abortAutoStartWhenPrevPortNotAvailable, ConfigHelper::EditOperation editOperation,
           ConfigHelper::EditPosition editPosition, QString editNumCharacters,
           QString removeCharacters, QString customRegEx, bool ignoreDuplicates,
           QString ignoreTimeLimit, QString ignoreDifference);

    // The five flags are plain fields.
    bool minimizeToTray = true;
    bool notifyWhenMinimizedToTray = true;
    bool checkForUpdates = true;
    bool abortAutoStartWhenPrevPortNotAvailable = true;
    bool ignoreDuplicates = false;
    // The journal and MQTT: settings beyond the 32, copied and compared with them.
    OutputSettings outputs;
    // Lines the instrument marks as not stable are logged and not typed.
    bool stableOnly = false;
    // A reading whose port goes away waits for it to return and goes on.
    bool reconnect = ConfigHelper::Reconnect::getDefault();

    const QString& getPort() const { return port_; }
    void setPort(const QString& v) { port_ = v; }
    const std::optional<Instrument>& getInstrument() const { return instrument_; }
    // Stores the instrument and notifies "NUMBER" or "TEXT" after its kind.
    void setInstrument(std::optional<Instrument> v);
    int getBitRate() const { return bitRate_; }
    void setBitRate(int v) { bitRate_ = v; }
    int getDataBits() const { return dataBits_; }
    void setDataBits(int v) { dataBits_ = v; }
    int getStopBits() const { return stopBits_; }
    void setStopBits(int v) { stopBits_ = v; }
    int getParity() const { return parity_; }
    void setParity(int v) { parity_ = v; }
    int getInputTerminator() const { return inputTerminator_; }
    void setInputTerminator(int v) { inputTerminator_ = v; }
    ConfigHelper::DecimalSeparator getDecimalSeparator() const { return decimalSeparator_; }
    void setDecimalSeparator(ConfigHelper::DecimalSeparator v) { decimalSeparator_ = v; }
    ConfigHelper::StartWith getStartWith() const { return startWith_; }
    void setStartWith(ConfigHelper::StartWith v) { startWith_ = v; }
    ConfigHelper::OutputTerminator getOutputTerminator() const { return outputTerminator_; }
    void setOutputTerminator(ConfigHelper::OutputTerminator v) { outputTerminator_ = v; }
    ConfigHelper::OutputTerminator getOutputTerminator2() const { return outputTerminator2_; }
    void setOutputTerminator2(ConfigHelper::OutputTerminator v) { outputTerminator2_ = v; }
    const QString& getEveryXValues() const { return everyXValues_; }
    void setEveryXValues(const QString& v) { everyXValues_ = v; }
    ConfigHelper::Connect getConnect() const { return connect_; }
    void setConnect(ConfigHelper::Connect v) { connect_ = v; }
    ConfigHelper::MathOperation getMathOperation() const { return mathOperation_; }
    void setMathOperation(ConfigHelper::MathOperation v) { mathOperation_ = v; }
    const QString& getMathOperand() const { return mathOperand_; }
    void setMathOperand(const QString& v) { mathOperand_ = v; }
    const QString& getDecimalPlaces() const { return decimalPlaces_; }
    void setDecimalPlaces(const QString& v) { decimalPlaces_ = v; }
    ConfigHelper::RoundingMethod getRoundingMethod() const { return roundingMethod_; }
    void setRoundingMethod(ConfigHelper::RoundingMethod v) { roundingMethod_ = v; }
    ConfigHelper::Sound getSound() const { return sound_; }
    void setSound(ConfigHelper::Sound v) { sound_ = v; }
    ConfigHelper::KeyboardType getKeyboardType() const { return keyboardType_; }
    void setKeyboardType(ConfigHelper::KeyboardType v) { keyboardType_ = v; }
    const QString& getDelay() const { return delay_; }
    void setDelay(const QString& v) { delay_ = v; }
    const QString& getPrevPort() const { return prevPort_; }
    void setPrevPort(const QString& v) { prevPort_ = v; }
    ConfigHelper::EditOperation getEditOperation() const { return editOperation_; }
    void setEditOperation(ConfigHelper::EditOperation v) { editOperation_ = v; }
    ConfigHelper::EditPosition getEditPosition() const { return editPosition_; }
    void setEditPosition(ConfigHelper::EditPosition v) { editPosition_ = v; }
    const QString& getEditNumCharacters() const { return editNumCharacters_; }
    void setEditNumCharacters(const QString& v) { editNumCharacters_ = v; }
    const QString& getRemoveCharacters() const { return removeCharacters_; }
    void setRemoveCharacters(const QString& v) { removeCharacters_ = v; }
    const QString& getCustomRegEx() const { return customRegEx_; }
    void setCustomRegEx(const QString& v) { customRegEx_ = v; }
    const QString& getIgnoreTimeLimit() const { return ignoreTimeLimit_; }
    void setIgnoreTimeLimit(const QString& v) { ignoreTimeLimit_ = v; }
    const QString& getIgnoreDifference() const { return ignoreDifference_; }
    void setIgnoreDifference(const QString& v) { ignoreDifference_ = v; }
    // The command written to the instrument, control characters written as "<13>".
    const QString& getRequestCommand() const { return requestCommand_; }
    void setRequestCommand(const QString& v) { requestCommand_ = v; }
    ConfigHelper::RequestMode getRequestMode() const { return requestMode_; }
    void setRequestMode(ConfigHelper::RequestMode v) { requestMode_ = v; }
    const QString& getRequestIntervalMs() const { return requestIntervalMs_; }
    void setRequestIntervalMs(const QString& v) { requestIntervalMs_ = v; }
    // The preset's own request command and the mode a new setting starts with.
    void takeRequestDefaultsOf(const Instrument& instrument);

    // Typed conversions of the text settings.
    std::optional<int> getDecimalPlacesAsInt() const;
    int getDelayAsInt() const;             // 20 when the text is not a decimal integer
    int getEditNumCharactersAsInt() const; // 0 when empty or not a decimal integer
    int getEveryXValuesAsInt() const;      // 0 when empty or not a decimal integer
    // The interval when it is a valid one, else the default of 1000 ms.
    int getRequestIntervalMsAsInt() const;
    // Throws NumberFormatError for a malformed operand; check MathOperand::valid first.
    Decimal getMathOperandAsBigDecimal() const;

    // Decimal places set to an integer 0..7.
    bool roundingEnabled() const;
    // A multiplication with an operand, or a division with an operand and rounding.
    bool mathOperationEnabled() const;

    void addPropertyChangeListener(const QString& name, PropertyChangeListener* listener);
    void removePropertyChangeListener(const QString& name, PropertyChangeListener* listener);

    // A new record with the settings of source; prevPort and listeners are not copied.
    static Config copyConfig(const Config& source);
    // True when any setting differs (prevPort is not compared).
    static bool hasChanged(const Config& a, const Config& b);

private:
    QString port_;
    std::optional<Instrument> instrument_;
    int bitRate_ = 0;
    int dataBits_ = 0;
    int stopBits_ = 0;
    int parity_ = 0;
    int inputTerminator_ = 0;
    ConfigHelper::DecimalSeparator decimalSeparator_ = ConfigHelper::DecimalSeparator::DOT;
    ConfigHelper::StartWith startWith_ = ConfigHelper::StartWith::NONE;
    ConfigHelper::OutputTerminator outputTerminator_ = ConfigHelper::OutputTerminator::NONE;
    ConfigHelper::OutputTerminator outputTerminator2_ = ConfigHelper::OutputTerminator::NONE;
    QString everyXValues_ = QStringLiteral("");
    ConfigHelper::Connect connect_ = ConfigHelper::Connect::MANUAL;
    ConfigHelper::MathOperation mathOperation_ = ConfigHelper::MathOperation::NONE;
    QString mathOperand_ = QStringLiteral("");
    QString decimalPlaces_ = QStringLiteral("");
    ConfigHelper::RoundingMethod roundingMethod_ = ConfigHelper::RoundingMethod::HALF_UP;
    ConfigHelper::Sound sound_ = ConfigHelper::Sound::NONE;
    ConfigHelper::KeyboardType keyboardType_ = ConfigHelper::KeyboardType::QUERTY;
    QString delay_ = QStringLiteral("20");
    QString prevPort_;
    ConfigHelper::EditOperation editOperation_ = ConfigHelper::EditOperation::REMOVE;
    ConfigHelper::EditPosition editPosition_ = ConfigHelper::EditPosition::FIRST;
    QString editNumCharacters_ = QStringLiteral("");
    QString removeCharacters_ = QStringLiteral("");
    QString customRegEx_ = QStringLiteral("");
    QString ignoreTimeLimit_ = QStringLiteral("");
    QString ignoreDifference_ = QStringLiteral("");
    QString requestCommand_ = QStringLiteral("");
    ConfigHelper::RequestMode requestMode_ = ConfigHelper::RequestMode::NONE;
    QString requestIntervalMs_ = ConfigHelper::RequestIntervalMs::getDefault();
    PropertyChangeSupport propertyChangeSupport_;
};

} // namespace serwedge::config
