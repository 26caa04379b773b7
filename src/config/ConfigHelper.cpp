#include "config/ConfigHelper.h"

#include "config/Catalogue.h"
#include "config/ConfigBundle.h"
#include "config/Decimal.h"
#include "config/IntParse.h"
#include "config/Pattern.h"

#include <QRegularExpression>

namespace serwedge::config::ConfigHelper {

Catalogue& bundle() {
    return configBundle();
}

namespace {

constexpr std::array<int, 15> kBitRateNumbers{110,   150,    300,    600,    1200,
                                              2400,  4800,   9600,   19200,  38400,
                                              57600, 115200, 230400, 460800, 921600};

bool intInRange(const QString& text, int low, int high) {
    if (text.isEmpty())
        return true;
    const auto v = parseDecimalInt(text);
    return v && *v >= low && *v <= high;
}

QString text(const char* key) {
    return configBundle().getString(key);
}

} // namespace

// ---- index enumerations ----

int BitRates::bitsPerSecond() const {
    return kBitRateNumbers[static_cast<std::size_t>(ordinal())];
}
QString BitRates::toString() const {
    return QString::number(bitsPerSecond());
}
QString BitRates::getReadable(int index) {
    return valid(index) ? BitRates(static_cast<Value>(index)).toString() : QString();
}

QString DataBits::toString() const {
    return QString::number(ordinal() + 5);
}
QString DataBits::getReadable(int index) {
    return valid(index) ? DataBits(static_cast<Value>(index)).toString() : QString();
}

QString StopBits::toString() const {
    return QString::number(ordinal() + 1);
}
QString StopBits::getReadable(int index) {
    return valid(index) ? StopBits(static_cast<Value>(index)).toString() : QString();
}

QString Parity::getReadable(int index) {
    return valid(index) ? Parity(static_cast<Value>(index)).toString() : QString();
}

// ---- named enumerations ----

int InputTerminator::getDecimal() const {
    static constexpr std::array<int, 3> bytes{4, 10, 13};
    return bytes[static_cast<std::size_t>(ordinal())];
}
QString InputTerminator::toString() const {
    static constexpr std::array<const char*, 3> display{"4 <EOT>", "10 <LF>", "13 <CR>"};
    return QLatin1String(display[static_cast<std::size_t>(ordinal())]);
}
std::optional<InputTerminator> InputTerminator::itemFromDecimal(int value) {
    for (const auto& t : values()) {
        if (t.getDecimal() == value)
            return t;
    }
    return std::nullopt;
}
QString InputTerminator::selectionText(int value) {
    if (auto t = itemFromDecimal(value))
        return t->toString();
    return QString::number(value);
}

namespace {
// Display texts and key codes shared by the start key and the terminators.
constexpr std::array<const char*, 5> kKeyDisplayKeys{"key.none", "enter", "tab", "right", "down"};
constexpr std::array<int, 5> kKeyCodes{0, 10, 9, 39, 40};
} // namespace

QString StartWith::toString() const {
    const int o = ordinal();
    if (o < 5)
        return text(kKeyDisplayKeys[static_cast<std::size_t>(o)]);
    if (o == DELETE)
        return text("delete");
    if (o == MULTIPLY)
        return QStringLiteral("*");
    return QStringLiteral("F%1").arg(o - F1 + 1);
}
int StartWith::getKeyCode() const {
    const int o = ordinal();
    if (o < 5)
        return kKeyCodes[static_cast<std::size_t>(o)];
    if (o == DELETE)
        return 127;
    if (o == MULTIPLY)
        return 106;
    return 112 + (o - F1);
}

QString OutputTerminator::toString() const {
    return text(kKeyDisplayKeys[static_cast<std::size_t>(ordinal())]);
}
int OutputTerminator::getKeyCode() const {
    return kKeyCodes[static_cast<std::size_t>(ordinal())];
}

QString Sound::toString() const {
    static constexpr std::array<const char*, 7> names{
        nullptr, "Ride Bell", "Cowbell", "High Agogo", "Low Agogo", "Claves", "Triangle"};
    if (ordinal() == NONE)
        return text("sound.none");
    return QLatin1String(names[static_cast<std::size_t>(ordinal())]);
}
int Sound::getPercussionNumber() const {
    static constexpr std::array<int, 7> numbers{0, 53, 56, 67, 68, 75, 81};
    return numbers[static_cast<std::size_t>(ordinal())];
}

QString RoundingMethod::toString() const {
    static constexpr std::array<const char*, 7> display{
        "ceiling", "down", "floor", "half down", "half even", "half up", "up"};
    return QLatin1String(display[static_cast<std::size_t>(ordinal())]);
}
RoundingMode RoundingMethod::getRoundingMode() const {
    switch (static_cast<Value>(ordinal())) {
    case CEILING:
        return RoundingMode::CEILING;
    case DOWN:
        return RoundingMode::DOWN;
    case FLOOR:
        return RoundingMode::FLOOR;
    case HALF_DOWN:
        return RoundingMode::HALF_DOWN;
    case HALF_EVEN:
        return RoundingMode::HALF_EVEN;
    case HALF_UP:
        return RoundingMode::HALF_UP;
    case UP:
        return RoundingMode::UP;
    }
    return RoundingMode::HALF_UP;
}

QString MathOperation::toString() const {
    static constexpr std::array<const char*, 3> keys{"math.none", "multiply", "divide"};
    return text(keys[static_cast<std::size_t>(ordinal())]);
}

QString DecimalSeparator::toString() const {
    return text(ordinal() == COMMA ? "comma" : "dot");
}

QString Connect::toString() const {
    return text(ordinal() == AUTO ? "auto" : "manual");
}

QString EditPosition::toString() const {
    return text(ordinal() == LAST ? "edit.last" : "edit.first");
}

QString EditOperation::toString() const {
    return text(ordinal() == KEEP ? "edit.keep" : "edit.remove");
}

QString KeyboardType::toString() const {
    static constexpr std::array<const char*, 5> keys{
        "keyboardType.default", "keyboardType.us_international", "keyboardType.azerty",
        "keyboardType.german", "keyboardType.all"};
    return text(keys[static_cast<std::size_t>(ordinal())]);
}

QString StatusKind::toString() const {
    static constexpr std::array<const char*, 6> keys{"status.stable",   "status.unstable",
                                                     "status.overload", "status.underload",
                                                     "status.error",    "status.not_a_value"};
    return text(keys[static_cast<std::size_t>(ordinal())]);
}

QString RequestMode::toString() const {
    static constexpr std::array<const char*, 4> keys{"request.none", "request.on_start",
                                                     "request.interval", "request.on_demand"};
    return text(keys[static_cast<std::size_t>(ordinal())]);
}

// ---- rule holders ----

bool DecimalPlaces::valid(const QString& t) {
    return intInRange(t, 0, 7);
}
bool EveryXValues::valid(const QString& t) {
    return intInRange(t, 2, 99);
}
bool EditNumCharacters::valid(const QString& t) {
    return intInRange(t, 1, 99);
}
bool Delay::valid(const QString& t) {
    return intInRange(t, 0, 1000);
}
bool IgnoreTimeLimit::valid(const QString& t) {
    if (t.isEmpty())
        return true;
    const auto v = parseDecimalInt(t);
    return v && *v > 0;
}

bool RemoveCharacters::valid(const QString& t) {
    // Code point by code point: a surrogate pair is one code point, and always above 255.
    for (const QChar c : t) {
        if (c.unicode() > 255)
            return false;
    }
    return true;
}

bool CustomRegEx::valid(const QString& t) {
    if (t.isEmpty())
        return true;
    // The engine decides: the pattern compiles with the flags the reading uses and has at least
    // one capturing group, so that every match can give a value.
    const QRegularExpression re = compilePattern(t);
    return re.isValid() && re.captureCount() >= 1;
}

std::optional<QByteArray> RequestCommand::decode(const QString& t) {
    QByteArray bytes;
    bytes.reserve(t.size());
    for (qsizetype i = 0; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c > 255)
            return std::nullopt;
        if (c == u'<') {
            // "<" digits ">" is one byte; any other "<" stands for itself.
            qsizetype end = i + 1;
            while (end < t.size() && t[end].unicode() >= u'0' && t[end].unicode() <= u'9')
                ++end;
            if (end > i + 1 && end < t.size() && t[end] == QLatin1Char('>')) {
                if (end - i - 1 > 3)
                    return std::nullopt;
                const int value = t.mid(i + 1, end - i - 1).toInt();
                if (value > 255)
                    return std::nullopt;
                bytes.append(static_cast<char>(value));
                i = end;
                continue;
            }
        }
        bytes.append(static_cast<char>(c));
    }
    return bytes;
}

bool RequestCommand::valid(const QString& t) {
    return decode(t).has_value();
}

bool RequestIntervalMs::valid(const QString& t) {
    return intInRange(t, kMinimum, kMaximum);
}

} // namespace serwedge::config::ConfigHelper

// ---- rule holders on decimal numbers ----

namespace serwedge::config::ConfigHelper {

bool MathOperand::valid(const QString& t) {
    if (t.isEmpty())
        return true;
    // Only the one-character text "0" is refused; 0.0 or -0 are accepted.
    return t != QLatin1String("0") && Decimal::tryParse(t).has_value();
}

bool IgnoreDifference::valid(const QString& t) {
    if (t.isEmpty())
        return true;
    const auto v = Decimal::tryParse(t);
    return v && v->signum() > 0;
}

} // namespace serwedge::config::ConfigHelper
