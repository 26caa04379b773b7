#include "serwedge/prefs/SettingRules.h"

#include "config/ConfigHelper.h"
#include "config/Instrument.h"
#include "config/IntParse.h"
#include "config/OutputSettings.h"

namespace serwedge::prefs {

namespace {

namespace H = config::ConfigHelper;

using Check = bool (*)(const QString&);

template <class E> bool identifier(const QString& text) {
    return E::valueOf(text).has_value();
}

template <class Rule> bool number(const QString& text) {
    const auto value = config::parseDecimalInt(text);
    return value && Rule::valid(*value);
}

template <class Rule> bool ruled(const QString& text) {
    return Rule::valid(text);
}

bool anyText(const QString&) {
    return true;
}

bool flag(const QString& text) {
    return text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
           text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0;
}

struct Rule {
    const char* key;
    Check valid;
};

// Every key the program loads and saves, with its check.
constexpr Rule kRules[] = {
    {"port", anyText},
    {"prevPort", anyText},
    {"instrument", identifier<H::Instrument>},
    {"bitRate", number<H::BitRates>},
    {"dataBits", number<H::DataBits>},
    {"stopBits", number<H::StopBits>},
    {"parity", number<H::Parity>},
    {"decimalSeparator", identifier<H::DecimalSeparator>},
    {"inputTerminator", number<H::InputTerminator>},
    {"startWith", identifier<H::StartWith>},
    {"outputTerminator", identifier<H::OutputTerminator>},
    {"outputTerminator2", identifier<H::OutputTerminator>},
    {"everyXValues", ruled<H::EveryXValues>},
    {"connect", identifier<H::Connect>},
    {"mathOperand", ruled<H::MathOperand>},
    {"mathOperation", identifier<H::MathOperation>},
    {"decimalPlaces", ruled<H::DecimalPlaces>},
    {"roundingMethod", identifier<H::RoundingMethod>},
    {"sound", identifier<H::Sound>},
    {"keyboardType", identifier<H::KeyboardType>},
    {"delay", ruled<H::Delay>},
    {"minimizeToTray", flag},
    {"notifyWhenMinimizedToTray", flag},
    {"checkForUpdates", flag},
    {"abortAutoStartWhenPrevPortNotAvailable", flag},
    {"ignoreDuplicates", flag},
    {"editOperation", identifier<H::EditOperation>},
    {"editPosition", identifier<H::EditPosition>},
    {"editNumCharacters", ruled<H::EditNumCharacters>},
    {"removeCharacters", ruled<H::RemoveCharacters>},
    {"ignoreTimeLimit", ruled<H::IgnoreTimeLimit>},
    {"ignoreDifference", ruled<H::IgnoreDifference>},
    {"customRegEx", ruled<H::CustomRegEx>},
    {"stableOnly", flag},
    {"requestCommand", ruled<H::RequestCommand>},
    {"requestMode", identifier<H::RequestMode>},
    {"requestIntervalMs", ruled<H::RequestIntervalMs>},
    {"reconnect", flag},
    {"journal", flag},
    {"journalFolder", anyText},
    {"journalDays", ruled<config::OutputRules::JournalDays>},
    {"mqtt", flag},
    {"mqttHost", ruled<config::OutputRules::MqttHost>},
    {"mqttPort", ruled<config::OutputRules::MqttPort>},
    {"mqttTls", flag},
    {"mqttCaFile", anyText},
    {"mqttUser", anyText},
    {"mqttTopic", ruled<config::OutputRules::MqttTopic>},
    {"mqttRetain", flag},
    // The broker password is neither exported nor imported: it stays on its computer.
};

} // namespace

QStringList settingKeys() {
    QStringList keys;
    for (const Rule& rule : kRules) {
        keys.append(QLatin1String(rule.key));
    }
    return keys;
}

std::optional<bool> isValidStoredValue(const QString& key, const QString& text) {
    for (const Rule& rule : kRules) {
        if (key == QLatin1String(rule.key)) {
            return rule.valid(text);
        }
    }
    return std::nullopt;
}

} // namespace serwedge::prefs
