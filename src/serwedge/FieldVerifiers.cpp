#include "serwedge/FieldVerifiers.h"

#include "config/IntParse.h"

namespace serwedge {

namespace CH = config::ConfigHelper;
using config::Config;

const std::vector<FieldVerifier>& fieldVerifiers() {
    static const std::vector<FieldVerifier> table{
        {VerifiedField::MathOperand, "mathOperandTextField", &CH::MathOperand::valid,
         "error.math.operand", true, &Config::setMathOperand, &Config::getMathOperand},
        {VerifiedField::DecimalPlaces, "decimalTextField", &CH::DecimalPlaces::valid,
         "error.decimal.places", false, &Config::setDecimalPlaces, &Config::getDecimalPlaces},
        {VerifiedField::EditNumCharacters, "editNumCharactersTextField",
         &CH::EditNumCharacters::valid, "error.edit.numCharacters", false,
         &Config::setEditNumCharacters, &Config::getEditNumCharacters},
        {VerifiedField::RemoveCharacters, "removeCharactersTextField", &CH::RemoveCharacters::valid,
         "error.edit.removeCharacters", false, &Config::setRemoveCharacters,
         &Config::getRemoveCharacters},
        {VerifiedField::EveryXValues, "everyXValuesTextField", &CH::EveryXValues::valid,
         "error.edit.everyXValues", false, &Config::setEveryXValues, &Config::getEveryXValues},
        {VerifiedField::Delay, "delayTextField", &CH::Delay::valid, "error.intercharacter.delay",
         false, &Config::setDelay, &Config::getDelay},
        {VerifiedField::IgnoreTimeLimit, "ignoreTimeLimitTextField", &CH::IgnoreTimeLimit::valid,
         "ignore.error", false, &Config::setIgnoreTimeLimit, &Config::getIgnoreTimeLimit},
        {VerifiedField::IgnoreDifference, "ignoreDifferenceTextField", &CH::IgnoreDifference::valid,
         "ignore.error", true, &Config::setIgnoreDifference, &Config::getIgnoreDifference},
        {VerifiedField::RequestCommand, "requestCommandBox", &CH::RequestCommand::valid,
         "error.request.command", false, &Config::setRequestCommand, &Config::getRequestCommand},
        {VerifiedField::RequestIntervalMs, "requestIntervalTextField",
         &CH::RequestIntervalMs::valid, "error.request.interval", false,
         &Config::setRequestIntervalMs, &Config::getRequestIntervalMs},
    };
    return table;
}

const FieldVerifier& fieldVerifier(VerifiedField field) {
    return fieldVerifiers()[static_cast<std::size_t>(field)];
}

Verification verifyField(VerifiedField field, const QString& text) {
    const FieldVerifier& v = fieldVerifier(field);
    QString normalised = text;
    if (v.commaIsDecimalPoint)
        normalised.replace(QLatin1Char(','), QLatin1Char('.'));
    if (v.rule(normalised))
        return {true, normalised, nullptr};
    return {false, {}, v.messageKey};
}

Verification verifyAndStore(VerifiedField field, const QString& text, Config& config) {
    Verification result = verifyField(field, text);
    if (result.valid)
        (config.*fieldVerifier(field).setter)(result.text);
    return result;
}

std::optional<int> checkInputTerminator(const QString& entry) {
    for (const auto& offered : CH::InputTerminator::values()) {
        if (entry == offered.toString())
            return offered.getDecimal();
    }
    const auto value = config::parseDecimalInt(entry);
    if (value && CH::InputTerminator::valid(*value))
        return *value;
    return std::nullopt;
}

} // namespace serwedge
