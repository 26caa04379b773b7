#include "config/Decimal.h"
#include "config/Config.h"
#include "config/ConfigHelper.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <random>

namespace serwedge::config {
// Readable failure output for gtest.
void PrintTo(const Decimal& d, std::ostream* os) {
    *os << d.unscaledValue().toStdString() << "E" << -d.scale() << " ("
        << d.toPlainString().toStdString() << ")";
}
} // namespace serwedge::config

using serwedge::config::ArithmeticError;
using serwedge::config::Decimal;
using serwedge::config::NumberFormatError;
using serwedge::config::RoundingMode;

namespace {

constexpr std::array kModes = {
    RoundingMode::UP,      RoundingMode::DOWN,      RoundingMode::CEILING,  RoundingMode::FLOOR,
    RoundingMode::HALF_UP, RoundingMode::HALF_DOWN, RoundingMode::HALF_EVEN};

Decimal d(const char* text) {
    return Decimal::parse(QString::fromLatin1(text));
}

Decimal d(const QString& text) {
    return Decimal::parse(text);
}

std::string plain(const Decimal& value) {
    return value.toPlainString().toStdString();
}

std::string messageOfParse(const QString& text) {
    try {
        Decimal::parse(text);
    } catch (const NumberFormatError& e) {
        return e.what();
    }
    return "(parsed)";
}

} // namespace

TEST(Decimal, parsesStandardSyntaxWithScale) {
    struct Case {
        const char* text;
        const char* unscaled;
        int scale;
    };
    const Case cases[] = {
        {"1.50", "150", 2},
        {"1E3", "1", -3},
        {"1e+3", "1", -3},
        {"1.5E3", "15", -2},
        {"1.5e-3", "15", 4},
        {"-12.345E+2", "-12345", 1},
        {"+.5", "5", 1},
        {"5.", "5", 0},
        {"-0.00", "0", 2},
        {"-0", "0", 0},
        {"+000012.34", "1234", 2},
        {"0E-2", "0", 2},
        {"123456789012345678", "123456789012345678", 0},
        {"9999999999999999999", "9999999999999999999", 0},
        {"-123456789012345678901234567890.5", "-1234567890123456789012345678905", 1},
        {"1E-999", "1", 999},
        {"1E999", "1", -999},
        {"1E-00000000000000000003", "1", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Decimal value = d(c.text);
        EXPECT_EQ(value.unscaledValue().toStdString(), c.unscaled);
        EXPECT_EQ(value.scale(), c.scale);
        const auto tried = Decimal::tryParse(QString::fromLatin1(c.text));
        ASSERT_TRUE(tried.has_value());
        EXPECT_EQ(*tried, value);
    }
}

TEST(Decimal, refusesMalformedTextWithMessageNamingIt) {
    const QString bad[] = {"abc",
                           "",
                           "1.2.3",
                           "NaN",
                           "Infinity",
                           "1E",
                           " 1",
                           "1 ",
                           "+",
                           "-",
                           ".",
                           "e5",
                           "1e+",
                           "--1",
                           "1,5",
                           "0x10",
                           "1_0",
                           "+-1",
                           "1E5.",
                           "1E1E1",
                           "1.e",
                           "\t1",
                           "12.5-",
                           "- 12",
                           QString::fromUtf8("\u0661"),
                           QString::fromUtf8("\uff11"),
                           QString::fromUtf8("1\u00b2")};
    for (const QString& text : bad) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_FALSE(Decimal::tryParse(text).has_value());
        const std::string message = messageOfParse(text);
        EXPECT_NE(message, "(parsed)");
        EXPECT_NE(message.find("\"" + text.toStdString() + "\""), std::string::npos) << message;
    }
}

TEST(Decimal, refusesExponentsBeyondRangeAndSaysSo) {
    for (const char* text : {"1E999999", "1E1000", "1E-1000", "0E5000", "1E2147483647",
                             "1E2147483648", "1E-2147483649", "1E99999999999999999999"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(Decimal::tryParse(QString::fromLatin1(text)).has_value());
        EXPECT_NE(messageOfParse(QString::fromLatin1(text)).find("exponent out of range"),
                  std::string::npos);
    }
    // The digits written out count, fraction digits and exponent alike.
    EXPECT_EQ(d("0.5E-998").scale(), 999);
    EXPECT_FALSE(Decimal::tryParse("0.5E-999").has_value());
    EXPECT_EQ(d("12E998").precision(), 2);
    EXPECT_FALSE(Decimal::tryParse("12E999").has_value());
}

TEST(Decimal, refusesMoreThanAThousandDigitsWithShortMessage) {
    const QString thousand(1000, u'9');
    EXPECT_EQ(Decimal::parse(thousand).precision(), 1000);
    EXPECT_EQ(Decimal::parse("0." + QString(999, u'7')).scale(), 999);

    const QString tooMany = QString(1001, u'1');
    EXPECT_FALSE(Decimal::tryParse(tooMany).has_value());
    const std::string message = messageOfParse(tooMany);
    EXPECT_NE(message.find("more than 1000 digits"), std::string::npos);
    EXPECT_LT(message.size(), 120u) << "the quoted text is cut short";
    EXPECT_NE(message.find("..."), std::string::npos);

    // Texts of millions of characters are refused without building a number.
    EXPECT_FALSE(Decimal::tryParse(QString(5'000'000, u'3')).has_value());
    EXPECT_FALSE(Decimal::tryParse("1E" + QString(5'000'000, u'9')).has_value());
}

TEST(Decimal, arithmeticBeyondBoundsThrows) {
    const Decimal nines = Decimal::parse(QString(1000, u'9'));
    EXPECT_THROW(nines.multiply(nines), ArithmeticError);
    EXPECT_THROW(nines.add(Decimal(1)), ArithmeticError);
    EXPECT_EQ(d(QString(999, u'9')).add(Decimal(1)).precision(), 1000);
    const Decimal tiny = d("1E-999");
    EXPECT_THROW(tiny.multiply(d("0.1")), ArithmeticError);
    EXPECT_THROW(d("1E999").multiply(d("1E1")), ArithmeticError);
    // Aligning scales for an addition may not grow past the digit bound either.
    EXPECT_THROW(d("1E999").add(tiny), ArithmeticError);

    EXPECT_THROW(d("1").setScale(1000, RoundingMode::HALF_UP), ArithmeticError);
    EXPECT_EQ(d("1").setScale(999, RoundingMode::HALF_UP).precision(), 1000);
    EXPECT_THROW(d("1").setScale(INT32_MAX, RoundingMode::HALF_UP), ArithmeticError);
    EXPECT_THROW(d("1").setScale(INT32_MIN, RoundingMode::HALF_UP), ArithmeticError);
    EXPECT_THROW(nines.setScale(1, RoundingMode::DOWN), ArithmeticError);
    EXPECT_THROW(d("1").divide(d("3"), 1000, RoundingMode::UP), ArithmeticError);
    EXPECT_THROW(d("1").divide(d("3"), INT32_MAX, RoundingMode::UP), ArithmeticError);
    EXPECT_THROW(Decimal(1, 1001), ArithmeticError);
    EXPECT_THROW(Decimal(5, 1000), ArithmeticError); // "0.00...5" has 1001 digits
}

// Parsing and printing share the bound: whatever arithmetic gives can be read back, so the
// duplicate filter can compare every value the chain prints.
TEST(Decimal, everyResultReadsBackFromItsPrinting) {
    const Decimal nines = d(QString(999, u'9'));
    const Decimal results[] = {
        d("1E-999"),
        d("1E999"),
        nines.add(Decimal(1)),
        nines.negate().multiply(d("1E-998")),
        d("1").divide(d("3"), 999, RoundingMode::HALF_UP),
        d("0.5").multiply(d("1E-998")),
        d(QString(500, u'7')).multiply(d(QString(500, u'3'))),
        Decimal(0, 999).setScale(-1000, RoundingMode::UP),
    };
    for (const Decimal& r : results) {
        for (QChar separator : {QChar(u'.'), QChar(u',')}) {
            const QString printed = r.toPlainString(separator);
            SCOPED_TRACE(printed.left(60).toStdString());
            const auto back = Decimal::tryParse(QString(printed).replace(u',', u'.'));
            ASSERT_TRUE(back.has_value());
            EXPECT_EQ(back->compareTo(r), 0);
        }
    }
}

TEST(Decimal, divisionByZeroThrows) {
    for (const char* zero : {"0", "0.000", "0E3", "-0"}) {
        try {
            d("10").divide(d(zero), 2, RoundingMode::HALF_UP);
            ADD_FAILURE() << zero << " did not throw";
        } catch (const ArithmeticError& e) {
            EXPECT_STREQ(e.what(), "Division by zero");
        }
    }
}

TEST(Decimal, roundsToZeroPlacesInEveryMode) {
    struct Row {
        const char* value;
        std::array<const char*, 7> expected; // UP DOWN CEILING FLOOR HALF_UP HALF_DOWN HALF_EVEN
    };
    const Row rows[] = {
        {"5.5", {"6", "5", "6", "5", "6", "5", "6"}},
        {"2.5", {"3", "2", "3", "2", "3", "2", "2"}},
        {"1.6", {"2", "1", "2", "1", "2", "2", "2"}},
        {"1.5", {"2", "1", "2", "1", "2", "1", "2"}},
        {"1.1", {"2", "1", "2", "1", "1", "1", "1"}},
        {"1.0", {"1", "1", "1", "1", "1", "1", "1"}},
        {"0.5", {"1", "0", "1", "0", "1", "0", "0"}},
        {"-0.5", {"-1", "0", "0", "-1", "-1", "0", "0"}},
        {"-1.0", {"-1", "-1", "-1", "-1", "-1", "-1", "-1"}},
        {"-1.1", {"-2", "-1", "-1", "-2", "-1", "-1", "-1"}},
        {"-1.5", {"-2", "-1", "-1", "-2", "-2", "-1", "-2"}},
        {"-1.6", {"-2", "-1", "-1", "-2", "-2", "-2", "-2"}},
        {"-2.5", {"-3", "-2", "-2", "-3", "-3", "-2", "-2"}},
        {"-5.5", {"-6", "-5", "-5", "-6", "-6", "-5", "-6"}},
        {"2.50001", {"3", "2", "3", "2", "3", "3", "3"}},
        {"-2.49999", {"-3", "-2", "-2", "-3", "-2", "-2", "-2"}},
    };
    for (const Row& row : rows) {
        for (std::size_t m = 0; m < kModes.size(); ++m) {
            SCOPED_TRACE(std::string(row.value) + " mode " + std::to_string(m));
            const Decimal rounded = d(row.value).setScale(0, kModes[m]);
            EXPECT_EQ(plain(rounded), row.expected[m]);
            EXPECT_EQ(rounded.scale(), 0);
        }
    }
}

TEST(Decimal, dividesToScaleInEveryMode) {
    struct Row {
        const char* dividend;
        const char* divisor;
        int scale;
        std::array<const char*, 7> expected; // UP DOWN CEILING FLOOR HALF_UP HALF_DOWN HALF_EVEN
    };
    const Row rows[] = {
        {"10", "3", 2, {"3.34", "3.33", "3.34", "3.33", "3.33", "3.33", "3.33"}},
        {"-10", "3", 2, {"-3.34", "-3.33", "-3.33", "-3.34", "-3.33", "-3.33", "-3.33"}},
        {"10", "-3", 2, {"-3.34", "-3.33", "-3.33", "-3.34", "-3.33", "-3.33", "-3.33"}},
        {"2", "3", 2, {"0.67", "0.66", "0.67", "0.66", "0.67", "0.67", "0.67"}},
        {"1", "8", 2, {"0.13", "0.12", "0.13", "0.12", "0.13", "0.12", "0.12"}},
        {"3", "8", 2, {"0.38", "0.37", "0.38", "0.37", "0.38", "0.37", "0.38"}},
        {"-1", "8", 2, {"-0.13", "-0.12", "-0.12", "-0.13", "-0.13", "-0.12", "-0.12"}},
        {"12.5", "0.5", 0, {"25", "25", "25", "25", "25", "25", "25"}},
        {"1E3",
         "7",
         3,
         {"142.858", "142.857", "142.858", "142.857", "142.857", "142.857", "142.857"}},
        {"0.001", "1E-3", 1, {"1.0", "1.0", "1.0", "1.0", "1.0", "1.0", "1.0"}},
        {"125", "1000", 1, {"0.2", "0.1", "0.2", "0.1", "0.1", "0.1", "0.1"}},
        {"150", "1000", 1, {"0.2", "0.1", "0.2", "0.1", "0.2", "0.1", "0.2"}},
        {"-0.001", "3", 2, {"-0.01", "0.00", "0.00", "-0.01", "0.00", "0.00", "0.00"}},
    };
    for (const Row& row : rows) {
        for (std::size_t m = 0; m < kModes.size(); ++m) {
            SCOPED_TRACE(std::string(row.dividend) + " / " + row.divisor + " mode " +
                         std::to_string(m));
            const Decimal q = d(row.dividend).divide(d(row.divisor), row.scale, kModes[m]);
            EXPECT_EQ(plain(q), row.expected[m]);
            EXPECT_EQ(q.scale(), row.scale);
        }
    }
}

TEST(Decimal, multiplicationIsExactAndScalesAdd) {
    const Decimal a = d("0.125").multiply(d("1000"));
    EXPECT_EQ(a.scale(), 3);
    EXPECT_EQ(plain(a), "125.000");
    const Decimal b = d("0.125").multiply(d("1E3"));
    EXPECT_EQ(b.scale(), 0);
    EXPECT_EQ(plain(b), "125");
    const Decimal c = d("0.5").multiply(d("1E3"));
    EXPECT_EQ(c.scale(), -2);
    EXPECT_EQ(plain(c), "500");
    EXPECT_EQ(plain(d("-1.5").multiply(d("-0.02"))), "0.030");
    EXPECT_EQ(plain(d("-1.5").multiply(d("0"))), "0.0");
    EXPECT_EQ(plain(d("123456789012345678901234567890").multiply(d("1E-40"))),
              "0.0000000000123456789012345678901234567890");
}

TEST(Decimal, addsAndSubtractsAtTheLargerScale) {
    EXPECT_EQ(d("1.5").add(d("0.25")), d("1.75"));
    EXPECT_EQ(d("1E3").add(d("1")), d("1001"));
    EXPECT_EQ(d("1").subtract(d("1.00")), d("0.00"));
    EXPECT_EQ(d("-2.5").subtract(d("0.75")), d("-3.25"));
    EXPECT_EQ(d("5.03").subtract(d("5.01")).abs(), d("0.02"));
    EXPECT_EQ(d("5.01").subtract(d("5.03")).abs(), d("0.02"));
    EXPECT_EQ(d("2").negate(), d("-2"));
    EXPECT_EQ(d("0").negate(), d("0"));
}

TEST(Decimal, comparesByValueAndEqualsByScale) {
    EXPECT_EQ(d("2.0").compareTo(d("2.00")), 0);
    EXPECT_FALSE(d("2.0").equals(d("2.00")));
    EXPECT_TRUE(d("2.0").equals(d("2.0")));
    EXPECT_EQ(d("0").compareTo(d("-0.000")), 0);
    EXPECT_EQ(d("-1").compareTo(d("0.5")), -1);
    EXPECT_EQ(d("0.5").compareTo(d("-1")), 1);
    EXPECT_EQ(d("1E3").compareTo(d("999.999")), 1);
    EXPECT_EQ(d("-1E3").compareTo(d("-999.999")), -1);
    EXPECT_EQ(d("0.02").compareTo(d("0.020000000000000000000001")), -1);
    EXPECT_EQ(d("0").signum(), 0);
    EXPECT_EQ(d("-0.1").signum(), -1);
    EXPECT_EQ(d("1E-5").signum(), 1);
}

TEST(Decimal, printsPlainWithoutSignOnZero) {
    struct Case {
        const char* text;
        const char* plain;
    };
    const Case cases[] = {
        {"1E3", "1000"},
        {"-1.5E2", "-150"},
        {"0E3", "0"},
        {"-1.5E-3", "-0.0015"},
        {"0.00", "0.00"},
        {"-0", "0"},
        {"-0.000", "0.000"},
        {"12.5", "12.5"},
        {"-000.10", "-0.10"},
        {"+7", "7"},
        {"0.1", "0.1"},
        {".001", "0.001"},
        {"98765432109876543210.123", "98765432109876543210.123"},
        {"-9223372036854775808", "-9223372036854775808"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(plain(d(c.text)), c.plain);
    }
    EXPECT_EQ(plain(d("-0.004").setScale(2, RoundingMode::HALF_UP)), "0.00");
    EXPECT_EQ(plain(d("-0.4").setScale(0, RoundingMode::HALF_EVEN)), "0");
    EXPECT_EQ(d("123.45").toPlainString(u',').toStdString(), "123,45");
    EXPECT_EQ(d("-0.05").toPlainString(u',').toStdString(), "-0,05");
    EXPECT_EQ(d("1E2").toPlainString(u',').toStdString(), "100");
}

TEST(Decimal, setScaleWidensExactly) {
    EXPECT_EQ(d("12.5").setScale(3, RoundingMode::UP), d("12.500"));
    EXPECT_EQ(d("1E3").setScale(0, RoundingMode::UP), d("1000"));
    EXPECT_EQ(d("1234").setScale(-2, RoundingMode::HALF_UP), d("12E2"));
    EXPECT_EQ(d("1250").setScale(-2, RoundingMode::HALF_EVEN), d("12E2"));
}

namespace {

// Reference rounding of v / p (p > 0, all within 64 bits for the ranges used below) to an integer,
// written from floor division rather than the truncating division the implementation uses.
std::int64_t referenceRound(std::int64_t v, std::int64_t p, RoundingMode mode) {
    std::int64_t floor = v / p;
    if (v % p != 0 && v < 0) {
        floor -= 1;
    }
    const std::int64_t rest = v - floor * p; // 0 <= rest < p
    if (rest == 0) {
        return floor;
    }
    const std::int64_t ceiling = floor + 1;
    switch (mode) {
    case RoundingMode::FLOOR:
        return floor;
    case RoundingMode::CEILING:
        return ceiling;
    case RoundingMode::DOWN:
        return v >= 0 ? floor : ceiling;
    case RoundingMode::UP:
        return v >= 0 ? ceiling : floor;
    default:
        break;
    }
    if (2 * rest < p) {
        return floor;
    }
    if (2 * rest > p) {
        return ceiling;
    }
    switch (mode) {
    case RoundingMode::HALF_UP:
        return v >= 0 ? ceiling : floor;
    case RoundingMode::HALF_DOWN:
        return v >= 0 ? floor : ceiling;
    default:
        return (floor % 2 == 0) ? floor : ceiling;
    }
}

std::int64_t pow10(int n) {
    std::int64_t r = 1;
    while (n-- > 0) {
        r *= 10;
    }
    return r;
}

} // namespace

TEST(Decimal, setScaleAgreesWithIntegerArithmetic) {
    std::mt19937_64 random(20180208);
    std::uniform_int_distribution<long> unscaled(-2'000'000'000'000L, 2'000'000'000'000L);
    std::uniform_int_distribution<int> scale(0, 8);
    std::uniform_int_distribution<int> small(-30, 30);
    for (int i = 0; i < 4000; ++i) {
        // Half of the values small, so that ties and zeros occur often.
        const long v = (i % 2 == 0) ? unscaled(random) : small(random) * 5L;
        const int from = scale(random);
        const int to = std::uniform_int_distribution<int>(-2, from)(random);
        const Decimal value(v, from);
        for (RoundingMode mode : kModes) {
            const Decimal rounded = value.setScale(to, mode);
            ASSERT_EQ(rounded.scale(), to);
            ASSERT_EQ(rounded.unscaledValue().toStdString(),
                      std::to_string(referenceRound(v, pow10(from - to), mode)))
                << v << "E-" << from << " to scale " << to << " mode " << static_cast<int>(mode);
        }
    }
}

TEST(Decimal, arithmeticAgreesWithIntegerArithmetic) {
    std::mt19937_64 random(4711);
    std::uniform_int_distribution<long> unscaled(-99'999'999L, 99'999'999L);
    std::uniform_int_distribution<int> scale(0, 6);
    for (int i = 0; i < 3000; ++i) {
        const long a = unscaled(random);
        const long b = unscaled(random) / ((i % 3) + 1);
        const int sa = scale(random);
        const int sb = scale(random);
        const Decimal x(a, sa);
        const Decimal y(b, sb);
        const int common = std::max(sa, sb);
        const std::int64_t ax = a * pow10(common - sa);
        const std::int64_t by = b * pow10(common - sb);

        const Decimal sum = x.add(y);
        ASSERT_EQ(sum.scale(), common);
        ASSERT_EQ(sum.unscaledValue().toStdString(), std::to_string(ax + by));
        ASSERT_EQ(x.subtract(y).unscaledValue().toStdString(), std::to_string(ax - by));
        const Decimal product = x.multiply(y);
        ASSERT_EQ(product.scale(), sa + sb);
        ASSERT_EQ(product.unscaledValue().toStdString(), std::to_string(std::int64_t{a} * b));
        ASSERT_EQ(x.compareTo(y), ax < by ? -1 : (ax > by ? 1 : 0));

        if (b != 0) {
            // x / y to scale k: (a·10^-sa) / (b·10^-sb) = a·10^(k-sa+sb) / b.
            const int k = std::uniform_int_distribution<int>(0, 4)(random);
            const int shift = k - sa + sb;
            std::int64_t n = a;
            std::int64_t den = b;
            if (shift >= 0) {
                n *= pow10(shift);
            } else {
                den *= pow10(-shift);
            }
            if (den < 0) {
                n = -n;
                den = -den;
            }
            for (RoundingMode mode : kModes) {
                const Decimal q = x.divide(y, k, mode);
                ASSERT_EQ(q.scale(), k);
                ASSERT_EQ(q.unscaledValue().toStdString(),
                          std::to_string(referenceRound(n, den, mode)))
                    << a << "E-" << sa << " / " << b << "E-" << sb << " scale " << k;
            }
        }
        // Printing and parsing are inverse.
        ASSERT_EQ(Decimal::parse(x.toPlainString()), x);
    }
}

TEST(DecimalSettings, operandAndToleranceRulesParseDecimals) {
    using namespace serwedge::config::ConfigHelper;
    for (const char* ok : {"", "0.5", "-2", "1E3", "0.0", "00", "-0"}) {
        EXPECT_TRUE(MathOperand::valid(QString::fromLatin1(ok))) << ok;
    }
    for (const char* bad : {"0", "abc", "1E999999", " 2", "2,5"}) {
        EXPECT_FALSE(MathOperand::valid(QString::fromLatin1(bad))) << bad;
    }
    for (const char* ok : {"", "0.001", "5", "1E-3"}) {
        EXPECT_TRUE(IgnoreDifference::valid(QString::fromLatin1(ok))) << ok;
    }
    for (const char* bad : {"0", "-0.5", "0.000", "x", "1E999999"}) {
        EXPECT_FALSE(IgnoreDifference::valid(QString::fromLatin1(bad))) << bad;
    }
}

TEST(DecimalSettings, mathOperandParsesOrThrows) {
    serwedge::config::Config config;
    config.setMathOperand("1E3");
    EXPECT_EQ(config.getMathOperandAsBigDecimal(), d("1E3"));
    config.setMathOperand("three");
    EXPECT_THROW(config.getMathOperandAsBigDecimal(), NumberFormatError);
}
