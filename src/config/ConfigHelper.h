#pragma once

// Every closed list of choices the settings offer, and every rule that decides whether a typed-in
// setting is acceptable.

#include "config/Enumeration.h"
#include "config/RoundingMode.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <map>
#include <optional>
#include <vector>

namespace serwedge {
class Catalogue;
}

namespace serwedge::config::ConfigHelper {

// The configuration catalogue "serwedge.config.ConfigBundle".
Catalogue& bundle();

// ---- index enumerations: the configuration stores the position ----

class BitRates : public Enumeration<BitRates> {
public:
    enum Value {
        BR_110,
        BR_150,
        BR_300,
        BR_600,
        BR_1200,
        BR_2400,
        BR_4800,
        BR_9600,
        BR_19200,
        BR_38400,
        BR_57600,
        BR_115200,
        BR_230400,
        BR_460800,
        BR_921600
    };
    static constexpr std::array<const char*, 15> kNames{
        "BR_110",   "BR_150",    "BR_300",    "BR_600",    "BR_1200",
        "BR_2400",  "BR_4800",   "BR_9600",   "BR_19200",  "BR_38400",
        "BR_57600", "BR_115200", "BR_230400", "BR_460800", "BR_921600"};
    constexpr BitRates(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const;  // "9600"
    int bitsPerSecond() const; // 9600
    static int getDefault() { return BR_9600; }
    static bool valid(int index) { return index >= 0 && index < count(); }
    static QString getReadable(int index);
};

class DataBits : public Enumeration<DataBits> {
public:
    enum Value { LN_5BITS, LN_6BITS, LN_7BITS, LN_8BITS };
    static constexpr std::array<const char*, 4> kNames{"LN_5BITS", "LN_6BITS", "LN_7BITS",
                                                       "LN_8BITS"};
    constexpr DataBits(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const; // "8"
    static int getDefault() { return LN_8BITS; }
    static bool valid(int index) { return index >= 0 && index < count(); }
    static QString getReadable(int index);
};

class StopBits : public Enumeration<StopBits> {
public:
    enum Value { ST_1BITS, ST_2BITS };
    static constexpr std::array<const char*, 2> kNames{"ST_1BITS", "ST_2BITS"};
    constexpr StopBits(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const; // "1"
    static int getDefault() { return ST_1BITS; }
    static bool valid(int index) { return index >= 0 && index < count(); }
    static QString getReadable(int index);
};

class Parity : public Enumeration<Parity> {
public:
    enum Value { NONE, ODD, EVEN, MARK, SPACE };
    static constexpr std::array<const char*, 5> kNames{"NONE", "ODD", "EVEN", "MARK", "SPACE"};
    constexpr Parity(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const { return name(); } // lists show the identifier
    static int getDefault() { return NONE; }
    static bool valid(int index) { return index >= 0 && index < count(); }
    static QString getReadable(int index);
};

// ---- named enumerations: the configuration stores the constant ----

class InputTerminator : public Enumeration<InputTerminator> {
public:
    enum Value { EOT, LF, CR };
    static constexpr std::array<const char*, 3> kNames{"EOT", "LF", "CR"};
    constexpr InputTerminator(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const; // "13 <CR>"
    int getDecimal() const;   // 13
    static int getDefault() { return 13; }
    // Any byte value is a valid terminator, not only the three listed.
    static bool valid(int value) { return value >= 0 && value <= 255; }
    static std::optional<InputTerminator> itemFromDecimal(int value);
    // The list entry for a byte value: the constant's display text, or the bare number when no
    // constant has it.
    static QString selectionText(int value);
};

class StartWith : public Enumeration<StartWith> {
public:
    enum Value {
        NONE,
        ENTER,
        TAB,
        RIGHT,
        DOWN,
        DELETE,
        MULTIPLY,
        F1,
        F2,
        F3,
        F4,
        F5,
        F6,
        F7,
        F8,
        F9,
        F10,
        F11,
        F12
    };
    static constexpr std::array<const char*, 19> kNames{
        "NONE", "ENTER", "TAB", "RIGHT", "DOWN", "DELETE", "MULTIPLY", "F1",  "F2", "F3",
        "F4",   "F5",    "F6",  "F7",    "F8",   "F9",     "F10",      "F11", "F12"};
    constexpr StartWith(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const;
    int getKeyCode() const; // 0 = no key
    static StartWith getDefault() { return NONE; }
};

class OutputTerminator : public Enumeration<OutputTerminator> {
public:
    enum Value { NONE, ENTER, TAB, RIGHT, DOWN };
    static constexpr std::array<const char*, 5> kNames{"NONE", "ENTER", "TAB", "RIGHT", "DOWN"};
    constexpr OutputTerminator(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const;
    int getKeyCode() const; // 0 = no key
    static OutputTerminator getDefault() { return NONE; }
};

class Sound : public Enumeration<Sound> {
public:
    enum Value { NONE, RIDE_BELL, COWBELL, HIGH_AGOGO, LOW_AGOGO, CLAVES, OPEN_TRIANGLE };
    static constexpr std::array<const char*, 7> kNames{
        "NONE", "RIDE_BELL", "COWBELL", "HIGH_AGOGO", "LOW_AGOGO", "CLAVES", "OPEN_TRIANGLE"};
    constexpr Sound(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const;        // the percussion name
    int getPercussionNumber() const; // General MIDI percussion key number
    static Sound getDefault() { return NONE; }
};

class RoundingMethod : public Enumeration<RoundingMethod> {
public:
    enum Value { CEILING, DOWN, FLOOR, HALF_DOWN, HALF_EVEN, HALF_UP, UP };
    static constexpr std::array<const char*, 7> kNames{"CEILING",   "DOWN",    "FLOOR", "HALF_DOWN",
                                                       "HALF_EVEN", "HALF_UP", "UP"};
    constexpr RoundingMethod(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const; // "half up"
    RoundingMode getRoundingMode() const;
    static RoundingMethod getDefault() { return HALF_UP; }
};

class MathOperation : public Enumeration<MathOperation> {
public:
    enum Value { NONE, MULTIPLY, DIVIDE };
    static constexpr std::array<const char*, 3> kNames{"NONE", "MULTIPLY", "DIVIDE"};
    constexpr MathOperation(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const;
    static MathOperation getDefault() { return NONE; }
};

class DecimalSeparator : public Enumeration<DecimalSeparator> {
public:
    enum Value { DOT, COMMA };
    static constexpr std::array<const char*, 2> kNames{"DOT", "COMMA"};
    constexpr DecimalSeparator(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const;
    QChar separator() const { return ordinal() == COMMA ? QLatin1Char(',') : QLatin1Char('.'); }
    static DecimalSeparator getDefault() { return DOT; }
};

class Connect : public Enumeration<Connect> {
public:
    enum Value { MANUAL, AUTO };
    static constexpr std::array<const char*, 2> kNames{"MANUAL", "AUTO"};
    constexpr Connect(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const;
    static Connect getDefault() { return MANUAL; }
};

class EditPosition : public Enumeration<EditPosition> {
public:
    enum Value { FIRST, LAST };
    static constexpr std::array<const char*, 2> kNames{"FIRST", "LAST"};
    constexpr EditPosition(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const;
    static EditPosition getDefault() { return FIRST; }
};

class EditOperation : public Enumeration<EditOperation> {
public:
    enum Value { REMOVE, KEEP };
    static constexpr std::array<const char*, 2> kNames{"REMOVE", "KEEP"};
    constexpr EditOperation(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const;
    static EditOperation getDefault() { return REMOVE; }
};

class KeyMapType;

// A keyboard-layout table: each character the layout can type and the key codes that type it.
using Keymap = std::map<char16_t, std::vector<int>>;

class KeyboardType : public Enumeration<KeyboardType> {
public:
    enum Value { QUERTY, US_INTERNATIONAL, AZERTY, GERMAN, ALL };
    static constexpr std::array<const char*, 5> kNames{"QUERTY", "US_INTERNATIONAL", "AZERTY",
                                                       "GERMAN", "ALL"};
    constexpr KeyboardType(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const;
    static KeyboardType getDefault() { return QUERTY; }

    // A new layout table for the keyboard type, holding the characters the key-map type asks
    // for: digits and number signs; then capital letters; then small letters, space and
    // punctuation.
    static Keymap getKeymap(KeyboardType keyboardType, KeyMapType keyMapType);
};

class KeyMapType : public Enumeration<KeyMapType> {
public:
    enum Value { NUMERIC, ALPHANUMERIC_BASIC, ALPHANUMERIC_COMPLETE };
    static constexpr std::array<const char*, 3> kNames{"NUMERIC", "ALPHANUMERIC_BASIC",
                                                       "ALPHANUMERIC_COMPLETE"};
    constexpr KeyMapType(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const { return name(); }
};

class InstrumentType : public Enumeration<InstrumentType> {
public:
    enum Value { NUMBER, TEXT };
    static constexpr std::array<const char*, 2> kNames{"NUMBER", "TEXT"};
    constexpr InstrumentType(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const { return name(); }
};

// What a received line says about the reading it carries, as an instrument's status words tell
// it. Lines of the last four kinds never give a value.
class StatusKind : public Enumeration<StatusKind> {
public:
    enum Value { STABLE, UNSTABLE, OVERLOAD, UNDERLOAD, ERROR, NOT_A_VALUE };
    static constexpr std::array<const char*, 6> kNames{"STABLE",    "UNSTABLE", "OVERLOAD",
                                                       "UNDERLOAD", "ERROR",    "NOT_A_VALUE"};
    constexpr StatusKind(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const; // "Overload", as the event log names the kind
    // Overload, underload, error and not-a-value lines are never typed.
    bool withholdsValue() const { return ordinal() >= OVERLOAD; }
    // Overload, underload and error lines are important events; the others ordinary ones.
    bool important() const { return ordinal() >= OVERLOAD && ordinal() <= ERROR; }
};

// When the request command is written to the instrument.
class RequestMode : public Enumeration<RequestMode> {
public:
    enum Value { NONE, ON_START, INTERVAL, ON_DEMAND };
    static constexpr std::array<const char*, 4> kNames{"NONE", "ON_START", "INTERVAL", "ON_DEMAND"};
    constexpr RequestMode(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    QString toString() const;
    static RequestMode getDefault() { return NONE; }
};

// ---- rule holders: a default text and a validity rule for one text setting ----
// The empty text is valid for all of them and means that the option is not used.

struct MathOperand {
    static QString getDefault() { return {}; }
    static bool valid(const QString& text); // a decimal number, but not the text "0"
};
struct DecimalPlaces {
    static QString getDefault() { return {}; }
    static bool valid(const QString& text); // 0..7
};
struct EveryXValues {
    static QString getDefault() { return {}; }
    static bool valid(const QString& text); // 2..99
};
struct EditNumCharacters {
    static QString getDefault() { return {}; }
    static bool valid(const QString& text); // 1..99
};
struct Delay {
    static QString getDefault() { return QStringLiteral("20"); }
    static bool valid(const QString& text); // 0..1000 ms
};
struct IgnoreTimeLimit {
    static QString getDefault() { return {}; }
    static bool valid(const QString& text); // integer > 0
};
struct IgnoreDifference {
    static QString getDefault() { return {}; }
    static bool valid(const QString& text); // decimal number > 0
};
struct CustomRegEx {
    static QString getDefault() { return {}; }
    static bool valid(const QString& text); // compiles and has a capture group
};
// A command for the instrument, written as the event log renders control characters:
// "SI<13><10>" is S, I, carriage return, line feed.
struct RequestCommand {
    static QString getDefault() { return {}; }
    static bool valid(const QString& text); // every character and every <n> a byte 0..255
    // The bytes of the command; none when the text is not valid.
    static std::optional<QByteArray> decode(const QString& text);
};
// Milliseconds between two requests.
struct RequestIntervalMs {
    static constexpr int kMinimum = 100;
    static constexpr int kMaximum = 3600000;
    static constexpr int kDefault = 1000;
    static QString getDefault() { return QStringLiteral("1000"); }
    static bool valid(const QString& text); // 100..3,600,000
};
// Whether a reading waits for an instrument whose port went away and reopens it.
struct Reconnect {
    static bool getDefault() { return true; }
};
struct RemoveCharacters {
    static QString getDefault() { return {}; }
    static bool valid(const QString& text); // every code point 0..255
};

} // namespace serwedge::config::ConfigHelper
