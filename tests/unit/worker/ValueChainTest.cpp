#include "worker/ValueChain.h"
#include "config/Config.h"
#include "config/Decimal.h"
#include "worker/DataLine.h"
#include "worker/Ignorer.h"
#include "worker/LineError.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using serwedge::config::Config;
using serwedge::config::Decimal;
using serwedge::config::NumberFormatError;
namespace CH = serwedge::config::ConfigHelper;
using serwedge::worker::DataLine;
using serwedge::worker::Ignorer;
using serwedge::worker::LineError;
using serwedge::worker::ValueChain;

namespace {

struct Settings {
    CH::EditOperation editOperation = CH::EditOperation::REMOVE;
    CH::EditPosition editPosition = CH::EditPosition::FIRST;
    const char* editNumCharacters = "";
    const char* removeCharacters = "";
    CH::MathOperation mathOperation = CH::MathOperation::NONE;
    const char* mathOperand = "";
    const char* decimalPlaces = "";
    CH::RoundingMethod roundingMethod = CH::RoundingMethod::HALF_UP;
    CH::DecimalSeparator separator = CH::DecimalSeparator::DOT;
};

Config configOf(const Settings& s) {
    Config c;
    c.setInstrument(CH::Instrument::GENERIC);
    c.setEditOperation(s.editOperation);
    c.setEditPosition(s.editPosition);
    c.setEditNumCharacters(QString::fromLatin1(s.editNumCharacters));
    c.setRemoveCharacters(QString::fromLatin1(s.removeCharacters));
    c.setMathOperation(s.mathOperation);
    c.setMathOperand(QString::fromLatin1(s.mathOperand));
    c.setDecimalPlaces(QString::fromLatin1(s.decimalPlaces));
    c.setRoundingMethod(s.roundingMethod);
    c.setDecimalSeparator(s.separator);
    return c;
}

// The processed value, or "<kind>: <message>" when the line fails.
std::string run(const Settings& s, const QString& value, bool numeric = true) {
    const ValueChain chain(configOf(s), numeric);
    try {
        return chain.process(value).toStdString();
    } catch (const LineError& e) {
        return "<" + e.description().toStdString() + ">";
    }
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

} // namespace

TEST(ValueChain, numericValuesAreTransformedInOrder) {
    using Op = CH::MathOperation;
    using RM = CH::RoundingMethod;
    using EO = CH::EditOperation;
    using EP = CH::EditPosition;
    struct Case {
        const char* what;
        Settings settings;
        const char* value;
        const char* expected;
    };
    const Settings none;
    Settings twoPlaces;
    twoPlaces.decimalPlaces = "2";
    Settings twoPlacesComma = twoPlaces;
    twoPlacesComma.separator = CH::DecimalSeparator::COMMA;
    Settings times1000;
    times1000.mathOperation = Op::MULTIPLY;
    times1000.mathOperand = "1000";
    Settings times1E3 = times1000;
    times1E3.mathOperand = "1E3";
    Settings byThree;
    byThree.mathOperation = Op::DIVIDE;
    byThree.mathOperand = "3";
    byThree.decimalPlaces = "2";
    Settings divideWithoutPlaces = byThree;
    divideWithoutPlaces.decimalPlaces = "";
    Settings removeFirst2;
    removeFirst2.editNumCharacters = "2";
    Settings keepLast3;
    keepLast3.editOperation = EO::KEEP;
    keepLast3.editPosition = EP::LAST;
    keepLast3.editNumCharacters = "3";
    Settings removeLast3 = keepLast3;
    removeLast3.editOperation = EO::REMOVE;
    Settings keepFirst4 = keepLast3;
    keepFirst4.editPosition = EP::FIRST;
    keepFirst4.editNumCharacters = "4";
    Settings removeUnits;
    removeUnits.removeCharacters = "gk";
    Settings zeroPlacesEven;
    zeroPlacesEven.decimalPlaces = "0";
    zeroPlacesEven.roundingMethod = RM::HALF_EVEN;
    Settings timesMinus2;
    timesMinus2.mathOperation = Op::MULTIPLY;
    timesMinus2.mathOperand = "-2";
    Settings eightPlaces; // out of range: no rounding
    eightPlaces.decimalPlaces = "8";
    Settings everything = twoPlacesComma;
    everything.editNumCharacters = "3";
    everything.removeCharacters = "g";
    everything.mathOperation = Op::MULTIPLY;
    everything.mathOperand = "0.5";

    const Case cases[] = {
        {"rounds half up, comma", twoPlacesComma, "+000012.345", "12,35"},
        {"rounds half up, dot", twoPlaces, "+000012.345", "12.35"},
        {"integer keeps no decimals", twoPlaces, "7", "7"},
        {"fewer decimals are kept", twoPlaces, "7.1", "7.1"},
        {"exact places unchanged", twoPlaces, "7.10", "7.10"},
        {"comma read as point", twoPlacesComma, "1,5", "1,5"},
        {"negative rounding to zero has no sign", twoPlaces, "-0.004", "0.00"},
        {"zero places half even", zeroPlacesEven, "2.5", "2"},
        {"zero places half even odd", zeroPlacesEven, "3.5", "4"},
        {"places beyond 7 disable rounding", eightPlaces, "1.123456789", "1.123456789"},
        {"multiply scales add", times1000, "0.125", "125.000"},
        {"multiply by exponent operand", times1E3, "0.125", "125"},
        {"negative scale prints without decimals", times1E3, "0.5", "500"},
        {"multiply by negative", timesMinus2, "-1.5", "3.0"},
        {"divide to places", byThree, "10", "3.33"},
        {"divide negative", byThree, "-10", "-3.33"},
        {"divide needs places", divideWithoutPlaces, "10", "10"},
        {"minus in front after blanks", none, "- 12.5", "-12.5"},
        {"minus in the middle", none, "12-5", "-5"},
        {"text before minus dropped", none, "ST-5", "-5"},
        {"control characters around the number", none, "\x02-12.5\x03", "-12.5"},
        {"plus accepted", none, "+7", "7"},
        {"leading zeros dropped", none, "-0003.50", "-3.50"},
        {"whitespace anywhere", none, " 12 345\t\r\n", "12345"},
        {"only whitespace gives empty", none, " \t ", ""},
        {"empty stays empty", none, "", ""},
        {"remove first two", removeFirst2, "0012.5", "12.5"},
        {"keep last three", keepLast3, "AB123", "123"},
        {"remove last three", removeLast3, "12.5 kg", "12.5"},
        {"keep first four", keepFirst4, "12.5kg", "12.5"},
        {"remove all of it", removeLast3, "abc", ""},
        {"keep all of it", keepLast3, "123", "123"},
        {"remove units", removeUnits, "12.5kg", "12.5"},
        {"edit, remove, multiply, round, comma", everything, "ST,+0012.345g", "6,17"},
        {"exponent value", none, "1.5E2", "150"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(run(c.settings, QString::fromLatin1(c.value)), c.expected);
    }
}

TEST(ValueChain, roundingMethodSelectsTheMode) {
    struct Row {
        CH::RoundingMethod method;
        const char* positive;
        const char* negative;
        const char* aboveTie; // 2.3450001
    };
    const Row rows[] = {
        {CH::RoundingMethod::CEILING, "2.35", "-2.34", "2.35"},
        {CH::RoundingMethod::DOWN, "2.34", "-2.34", "2.34"},
        {CH::RoundingMethod::FLOOR, "2.34", "-2.35", "2.34"},
        {CH::RoundingMethod::HALF_DOWN, "2.34", "-2.34", "2.35"},
        {CH::RoundingMethod::HALF_EVEN, "2.34", "-2.34", "2.35"},
        {CH::RoundingMethod::HALF_UP, "2.35", "-2.35", "2.35"},
        {CH::RoundingMethod::UP, "2.35", "-2.35", "2.35"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.method.name().toStdString());
        Settings s;
        s.decimalPlaces = "2";
        s.roundingMethod = row.method;
        EXPECT_EQ(run(s, "2.345"), row.positive);
        EXPECT_EQ(run(s, "-2.345"), row.negative);
        EXPECT_EQ(run(s, "2.3450001"), row.aboveTie);
    }
}

TEST(ValueChain, failingLinesRaiseLineErrorsWithKindAndMessage) {
    Settings none;
    Settings removeFirst5;
    removeFirst5.editNumCharacters = "5";
    Settings keepLast5 = removeFirst5;
    keepLast5.editOperation = CH::EditOperation::KEEP;
    keepLast5.editPosition = CH::EditPosition::LAST;
    Settings byZero;
    byZero.mathOperation = CH::MathOperation::DIVIDE;
    byZero.mathOperand = "0.0"; // allowed by the operand rule, which only refuses the text "0"
    byZero.decimalPlaces = "2";
    Settings byTiny = byZero;
    byTiny.mathOperand = "1E-999";

    struct Case {
        Settings settings;
        QString value;
        const char* prefix;
        const char* contains;
    };
    const Case cases[] = {
        {removeFirst5, "12.", "<Index error: ", "\"12.\", which has only 3"},
        {keepLast5, "1234", "<Index error: ", "keep the last 5"},
        {none, "12.5-", "<Number format error: ", "\"-\" (from the value \"12.5-\")"},
        {none, "abc", "<Number format error: ", "\"abc\""},
        {none, "12.5kg", "<Number format error: ", "\"12.5kg\""},
        {none, "1.2.3", "<Number format error: ", "\"1.2.3\""},
        {none, "1E999999", "<Number format error: ", "exponent out of range"},
        {none, QString(5000, u'7'), "<Number format error: ", "more than 1000 digits"},
        {none, QString::fromUtf8("\u0661\u0662"), "<Number format error: ", "Not a decimal"},
        {byZero, "10", "<Arithmetic error: ", "Division by zero"},
        {byTiny, "1E999", "<Arithmetic error: ", "more than 1000 digits"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.left(20).toStdString());
        const std::string result = run(c.settings, c.value);
        EXPECT_TRUE(startsWith(result, c.prefix)) << result;
        EXPECT_NE(result.find(c.contains), std::string::npos) << result;
        EXPECT_LT(result.size(), 300u) << "long values are cut short in messages";
    }
}

TEST(ValueChain, textWorkerSkipsWhitespaceAndFormatting) {
    Settings none;
    EXPECT_EQ(run(none, " AB 12,5-x ", false), " AB 12,5-x ");
    EXPECT_EQ(run(none, "", false), "");
    Settings removeBlanks;
    removeBlanks.removeCharacters = " -";
    EXPECT_EQ(run(removeBlanks, " AB 12,5-x ", false), "AB12,5x");
    Settings keepFirst2;
    keepFirst2.editOperation = CH::EditOperation::KEEP;
    keepFirst2.editNumCharacters = "2";
    EXPECT_EQ(run(keepFirst2, "4006381333931", false), "40");
    EXPECT_TRUE(startsWith(run(keepFirst2, "4", false), "<Index error: "));
    // Rounding settings do not touch text values.
    Settings places = none;
    places.decimalPlaces = "0";
    EXPECT_EQ(run(places, "12.5", false), "12.5");
}

TEST(ValueChain, removesLatin1AndWideCharacters) {
    Settings s;
    s.removeCharacters = "\xb0\xb5"; // degree sign and micro sign, as Latin-1 bytes
    EXPECT_EQ(run(s, QString::fromUtf8("12.5\u00b0C"), false), "12.5C");
    EXPECT_EQ(run(s, QString::fromUtf8("3\u00b5m\u20ac"), false),
              QString::fromUtf8("3m\u20ac").toStdString());
}

TEST(ValueChain, malformedOperandFailsAtConstruction) {
    Settings s;
    s.mathOperation = CH::MathOperation::MULTIPLY;
    s.mathOperand = "three";
    EXPECT_THROW({ const ValueChain chain(configOf(s), true); }, NumberFormatError);
    // The text worker does not format, so the operand is never read.
    EXPECT_NO_THROW({ const ValueChain chain(configOf(s), false); });
}

// ---- duplicate suppression ----

namespace {

const QDateTime kStart = QDateTime::fromMSecsSinceEpoch(1'500'000'000'000, Qt::UTC);

// Feeds values (with their arrival in milliseconds after the start) and returns those that
// would be typed.
std::vector<std::string> typed(Ignorer& ignorer,
                               const std::vector<std::pair<const char*, int>>& arrivals) {
    std::vector<std::string> out;
    int count = 0;
    for (const auto& [value, ms] : arrivals) {
        DataLine line(QStringLiteral("raw\r"), QString::fromLatin1(value), ++count,
                      kStart.addMSecs(ms), false);
        ignorer.process(line);
        if (line.hasValue()) {
            out.emplace_back(line.getProcessedData().toStdString());
        }
        EXPECT_EQ(line.getCount(), count);
    }
    return out;
}

using Typed = std::vector<std::string>;

} // namespace

TEST(Ignorer, equalValuesAreSuppressedUntilTheValueChanges) {
    Ignorer ignorer(0, Decimal());
    EXPECT_EQ(typed(ignorer, {{"5.00", 0}, {"5.00", 10}, {"5.00", 20}, {"5.01", 30}, {"5.00", 40}}),
              (Typed{"5.00", "5.01", "5.00"}));
}

TEST(Ignorer, toleranceComparesWithThePreviousValueInclusive) {
    Ignorer ignorer(0, Decimal::parse("0.02"));
    EXPECT_EQ(typed(ignorer, {{"5.00", 0}, {"5.01", 1}, {"5.03", 2}}), Typed{"5.00"});
    // A slow drift stays suppressed, since each value is close to the one before.
    Ignorer drift(0, Decimal::parse("0.02"));
    EXPECT_EQ(typed(drift, {{"5.00", 0}, {"5.02", 1}, {"5.04", 2}, {"5.07", 3}}),
              (Typed{"5.00", "5.07"}));
    // Values with a decimal comma are compared as numbers too.
    Ignorer comma(0, Decimal::parse("0.02"));
    EXPECT_EQ(typed(comma, {{"5,00", 0}, {"5,02", 1}, {"5,01", 2}, {"-4,99", 3}}),
              (Typed{"5,00", "-4,99"}));
}

TEST(Ignorer, timeLimitIsInclusive) {
    Ignorer ignorer(1000, Decimal());
    EXPECT_EQ(typed(ignorer, {{"5.00", 0}, {"5.00", 1000}, {"5.00", 2001}, {"5.00", 2500}}),
              (Typed{"5.00", "5.00"}));
}

TEST(Ignorer, linesWithoutValuePassAndKeepTheReference) {
    Ignorer ignorer(0, Decimal());
    EXPECT_EQ(typed(ignorer, {{"5.00", 0}, {"", 1}, {"5.00", 2}, {"", 3}, {"6", 4}}),
              (Typed{"5.00", "6"}));
    EXPECT_THROW(ignorer.process(nullptr), std::invalid_argument);
}

TEST(Ignorer, valuesThatAreNotNumbersAreNeverWithinTolerance) {
    Ignorer ignorer(0, Decimal::parse("1"));
    EXPECT_EQ(typed(ignorer, {{"abc", 0}, {"abd", 1}, {"abd", 2}, {"5", 3}}),
              (Typed{"abc", "abd", "abd", "5"}));
}

TEST(Ignorer, readsItsSettingsFromTheConfiguration) {
    Config config;
    config.setInstrument(CH::Instrument::GENERIC);
    config.setIgnoreTimeLimit("1500");
    config.setIgnoreDifference("0.5");
    Ignorer numeric(config);
    EXPECT_EQ(numeric.timeLimit(), 1500);
    EXPECT_EQ(numeric.difference(), Decimal::parse("0.5"));
    EXPECT_EQ(typed(numeric, {{"10", 0}, {"10.5", 1500}, {"11.1", 1600}}), (Typed{"10", "11.1"}));

    // Text presets compare text only, whatever the tolerance.
    config.setInstrument(CH::Instrument::BARCODE);
    Ignorer text(config);
    EXPECT_EQ(text.difference().signum(), 0);
    EXPECT_EQ(typed(text, {{"10", 0}, {"10.1", 1}, {"10.1", 2}}), (Typed{"10", "10.1"}));

    // Settings that are not numbers mean no limit and exact equality.
    config.setInstrument(CH::Instrument::GENERIC);
    config.setIgnoreTimeLimit("soon");
    config.setIgnoreDifference("a bit");
    Ignorer fallback(config);
    EXPECT_EQ(fallback.timeLimit(), 0);
    EXPECT_EQ(fallback.difference().signum(), 0);
    EXPECT_EQ(typed(fallback, {{"1.0", 0}, {"1.00", 99999999}, {"1.00", 199999999}}),
              (Typed{"1.0", "1.00"}));
}
