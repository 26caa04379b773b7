#pragma once

#include "config/Config.h"

#include <QString>

#include <optional>
#include <vector>

namespace serwedge {

// The typed-in settings whose text is checked before it may reach the configuration.
enum class VerifiedField {
    MathOperand,       // mathOperandTextField
    DecimalPlaces,     // decimalTextField
    EditNumCharacters, // editNumCharactersTextField
    RemoveCharacters,  // removeCharactersTextField
    EveryXValues,      // everyXValuesTextField
    Delay,             // delayTextField
    IgnoreTimeLimit,   // IgnoreDialog's ignoreTimeLimitTextField
    IgnoreDifference,  // IgnoreDialog's ignoreDifferenceTextField
    RequestCommand,    // requestCommandBox's text
    RequestIntervalMs, // requestIntervalTextField
};

// One row of the verifier table: the field, its rule, the message shown when the rule refuses
// the text (titled "error"), how the text is normalised before the rule sees it, and where the
// accepted text goes in the configuration.
struct FieldVerifier {
    VerifiedField field;
    const char* controlName;           // "mathOperandTextField"
    bool (*rule)(const QString& text); // a rule holder's valid()
    const char* messageKey;            // "error.math.operand"
    bool commaIsDecimalPoint;          // "," typed by the user is read as "."
    void (config::Config::*setter)(const QString&);
    const QString& (config::Config::*getter)() const;
};

// Every verifier, in the order of the fields above.
const std::vector<FieldVerifier>& fieldVerifiers();
const FieldVerifier& fieldVerifier(VerifiedField field);

// What a verifier made of one text.
struct Verification {
    bool valid = false;
    QString text;                     // the text to store (normalised) when valid
    const char* messageKey = nullptr; // the refusal's message key when not valid
};

// Normalises and checks the text with the field's rule. Any text, of any length and with any
// characters, gives an answer.
Verification verifyField(VerifiedField field, const QString& text);

// Checks the text and, when it is valid, stores it in the configuration. Answers the check.
Verification verifyAndStore(VerifiedField field, const QString& text, config::Config& config);

// The input terminator as typed or chosen in the terminator list: one of the offered entries
// ("13 <CR>") or a base-10 integer. Answers the byte value 0..255, or nothing when the entry is
// refused ("terminator.must.be.between.0.and.255").
std::optional<int> checkInputTerminator(const QString& entry);
inline constexpr const char* kInputTerminatorMessageKey = "terminator.must.be.between.0.and.255";

} // namespace serwedge
