#include "config/ConfigHelper.h"
#include "config/Instrument.h"

#include <gtest/gtest.h>

#include <QString>

using namespace serwedge::config::ConfigHelper;

namespace {

struct RuleCase {
    const char* rule;
    bool (*valid)(const QString&);
    QString text;
    bool expected;
};

class RuleHolders : public ::testing::TestWithParam<RuleCase> {};

TEST_P(RuleHolders, acceptOnlyTheirRange) {
    const RuleCase& c = GetParam();
    EXPECT_EQ(c.valid(c.text), c.expected) << c.rule << " \"" << c.text.toStdString() << "\"";
}

const RuleCase kRuleCases[] = {
    {"Delay", Delay::valid, "", true},
    {"Delay", Delay::valid, "0", true},
    {"Delay", Delay::valid, "1000", true},
    {"Delay", Delay::valid, "1001", false},
    {"Delay", Delay::valid, "-1", false},
    {"Delay", Delay::valid, "+20", true},
    {"Delay", Delay::valid, " 20", false},
    {"Delay", Delay::valid, "20ms", false},
    {"Delay", Delay::valid, "99999999999", false},
    {"DecimalPlaces", DecimalPlaces::valid, "0", true},
    {"DecimalPlaces", DecimalPlaces::valid, "7", true},
    {"DecimalPlaces", DecimalPlaces::valid, "8", false},
    {"DecimalPlaces", DecimalPlaces::valid, "two", false},
    {"EveryXValues", EveryXValues::valid, "1", false},
    {"EveryXValues", EveryXValues::valid, "2", true},
    {"EveryXValues", EveryXValues::valid, "99", true},
    {"EveryXValues", EveryXValues::valid, "100", false},
    {"EditNumCharacters", EditNumCharacters::valid, "0", false},
    {"EditNumCharacters", EditNumCharacters::valid, "1", true},
    {"EditNumCharacters", EditNumCharacters::valid, "99", true},
    {"IgnoreTimeLimit", IgnoreTimeLimit::valid, "", true},
    {"IgnoreTimeLimit", IgnoreTimeLimit::valid, "1", true},
    {"IgnoreTimeLimit", IgnoreTimeLimit::valid, "0", false},
    {"IgnoreTimeLimit", IgnoreTimeLimit::valid, "-5", false},
    {"IgnoreTimeLimit", IgnoreTimeLimit::valid, "1.5", false},
    {"RemoveCharacters", RemoveCharacters::valid, "gk ", true},
    {"RemoveCharacters", RemoveCharacters::valid, QString(QChar(228)), true},
    {"RemoveCharacters", RemoveCharacters::valid, QString(QChar(8364)), false},
    {"RemoveCharacters", RemoveCharacters::valid, QString::fromUtf8("a\xF0\x9F\x98\x80"), false},
    {"CustomRegEx", CustomRegEx::valid, "", true},
    {"CustomRegEx", CustomRegEx::valid, R"(Wt\s?([-+]?\s*[0-9]*[\.,]?[0-9]+))", true},
    {"CustomRegEx", CustomRegEx::valid, R"(\(\d+\))", false},
    {"CustomRegEx", CustomRegEx::valid, "[abc(", false},
    {"CustomRegEx", CustomRegEx::valid, "([0-9]+", false},
    {"CustomRegEx", CustomRegEx::valid, "[0-9]+", false},
    {"CustomRegEx", CustomRegEx::valid, "(?:x)([0-9]+)", true},
    // The engine counts the groups: a non-capturing group gives no value, a group after an
    // escaped backslash does.
    {"CustomRegEx", CustomRegEx::valid, R"((?:\d+))", false},
    {"CustomRegEx", CustomRegEx::valid, R"(\\(\d+))", true},
    {"CustomRegEx", CustomRegEx::valid, R"([(](?<v>\d+))", true},
    {"RequestIntervalMs", RequestIntervalMs::valid, "", true},
    {"RequestIntervalMs", RequestIntervalMs::valid, "99", false},
    {"RequestIntervalMs", RequestIntervalMs::valid, "100", true},
    {"RequestIntervalMs", RequestIntervalMs::valid, "3600000", true},
    {"RequestIntervalMs", RequestIntervalMs::valid, "3600001", false},
    {"RequestIntervalMs", RequestIntervalMs::valid, "1s", false},
    {"RequestCommand", RequestCommand::valid, "", true},
    {"RequestCommand", RequestCommand::valid, "SI<13><10>", true},
    {"RequestCommand", RequestCommand::valid, "<256>", false},
    {"RequestCommand", RequestCommand::valid, "<0013>", false},
    {"RequestCommand", RequestCommand::valid, QString(QChar(8364)), false},
};

INSTANTIATE_TEST_SUITE_P(AllRules, RuleHolders, ::testing::ValuesIn(kRuleCases));

} // namespace

TEST(IndexEnumerations, validRejectsNegativeAndCount) {
    EXPECT_TRUE(BitRates::valid(0));
    EXPECT_TRUE(BitRates::valid(14));
    EXPECT_FALSE(BitRates::valid(15));
    EXPECT_FALSE(BitRates::valid(-1));
    EXPECT_FALSE(DataBits::valid(4));
    EXPECT_FALSE(StopBits::valid(2));
    EXPECT_FALSE(Parity::valid(5));
    EXPECT_TRUE(Parity::valid(4));
}

TEST(IndexEnumerations, readableTextsAndPositionsMatchTheSerialCodes) {
    EXPECT_EQ(BitRates::getReadable(15), "");
    EXPECT_EQ(BitRates::getReadable(7), "9600");
    EXPECT_EQ(BitRates::getReadable(14), "921600");
    EXPECT_EQ(BitRates::getReadable(0), "110");
    EXPECT_EQ(Parity::getReadable(2), "EVEN");
    EXPECT_EQ(Parity::getReadable(-1), "");
    EXPECT_EQ(DataBits::getReadable(3), "8");
    EXPECT_EQ(StopBits::getReadable(1), "2");
    EXPECT_EQ(BitRates::getDefault(), 7);
    EXPECT_EQ(DataBits::getDefault(), 3);
    EXPECT_EQ(StopBits::getDefault(), 0);
    EXPECT_EQ(Parity::getDefault(), 0);
}

TEST(NamedEnumerations, validIsCaseSensitiveAndValueOfFindsTheConstant) {
    EXPECT_TRUE(Sound::valid("COWBELL"));
    EXPECT_FALSE(Sound::valid("cowbell"));
    EXPECT_FALSE(Sound::valid("none"));
    EXPECT_FALSE(Sound::valid(""));
    EXPECT_EQ(Sound::valueOf("OPEN_TRIANGLE"), Sound(Sound::OPEN_TRIANGLE));
    EXPECT_FALSE(Sound::valueOf("Triangle").has_value());
    EXPECT_TRUE(Instrument::valid("GENERIC"));
    EXPECT_FALSE(Instrument::valid("Generic"));
    EXPECT_TRUE(KeyboardType::valid("QUERTY"));
    EXPECT_FALSE(KeyboardType::valid("QWERTY"));
}

TEST(NamedEnumerations, validNeverThrowsOnHugeOrForeignText) {
    const QString huge(1 << 20, QLatin1Char('A'));
    const QString foreign = QString::fromUtf8("\xE6\xB8\xAC\xE5\xAE\x9A 12,5 \xE2\x82\xAC");
    for (const QString& t : {huge, foreign}) {
        EXPECT_FALSE(Sound::valid(t));
        EXPECT_FALSE(Instrument::valid(t));
        EXPECT_FALSE(Delay::valid(t));
        EXPECT_FALSE(DecimalPlaces::valid(t));
        EXPECT_FALSE(EveryXValues::valid(t));
        EXPECT_FALSE(IgnoreTimeLimit::valid(t));
        EXPECT_FALSE(CustomRegEx::valid(t)); // no capture group
    }
    EXPECT_TRUE(RemoveCharacters::valid(huge));
    EXPECT_FALSE(RemoveCharacters::valid(foreign));
}

TEST(NamedEnumerations, positionsDefaultsAndAttachedValues) {
    EXPECT_EQ(Sound::values().size(), 7u);
    EXPECT_EQ(Sound(Sound::COWBELL).getPercussionNumber(), 56);
    EXPECT_EQ(Sound(Sound::OPEN_TRIANGLE).getPercussionNumber(), 81);
    EXPECT_EQ(Sound(Sound::RIDE_BELL).toString(), "Ride Bell");
    EXPECT_EQ(StartWith(StartWith::F1).getKeyCode(), 112);
    EXPECT_EQ(StartWith(StartWith::F12).getKeyCode(), 123);
    EXPECT_EQ(StartWith(StartWith::F12).toString(), "F12");
    EXPECT_EQ(StartWith(StartWith::DELETE).getKeyCode(), 127);
    EXPECT_EQ(StartWith(StartWith::MULTIPLY).getKeyCode(), 106);
    EXPECT_EQ(StartWith(StartWith::MULTIPLY).toString(), "*");
    EXPECT_EQ(OutputTerminator(OutputTerminator::TAB).getKeyCode(), 9);
    EXPECT_EQ(OutputTerminator(OutputTerminator::DOWN).getKeyCode(), 40);
    EXPECT_EQ(StartWith::values().size(), 19u);
    EXPECT_EQ(RoundingMethod(RoundingMethod::HALF_EVEN).getRoundingMode(),
              serwedge::config::RoundingMode::HALF_EVEN);
    EXPECT_EQ(RoundingMethod(RoundingMethod::CEILING).ordinal(), 0);
    EXPECT_EQ(RoundingMethod::getDefault(), RoundingMethod::HALF_UP);
    EXPECT_EQ(KeyboardType::getDefault(), KeyboardType::QUERTY);
    EXPECT_EQ(Instrument::getDefault(), Instrument::GENERIC);
    EXPECT_EQ(Instrument::values().size(), 36u);
    EXPECT_EQ(Instrument(Instrument::WEDDERBURN).ordinal(), 35);
    EXPECT_EQ(Instrument(Instrument::KERN_RPB).name(), "KERN_RPB");
}

TEST(InputTerminatorTest, anyByteIsValidAndConstantsAreFoundByValue) {
    EXPECT_TRUE(InputTerminator::valid(0));
    EXPECT_TRUE(InputTerminator::valid(255));
    EXPECT_FALSE(InputTerminator::valid(256));
    EXPECT_FALSE(InputTerminator::valid(-1));
    EXPECT_EQ(InputTerminator::itemFromDecimal(10), InputTerminator(InputTerminator::LF));
    EXPECT_FALSE(InputTerminator::itemFromDecimal(3).has_value());
    EXPECT_EQ(InputTerminator::selectionText(13), "13 <CR>");
    EXPECT_EQ(InputTerminator::selectionText(3), "3");
    EXPECT_EQ(InputTerminator::getDefault(), 13);
}

TEST(RequestCommandText, controlCharactersAreWrittenAsTheLogShowsThem) {
    const std::pair<QString, QByteArray> cases[] = {
        {"SI<13><10>", "SI\r\n"},
        {"<27>P<13><10>", "\x1bP\r\n"},
        {"w", "w"},
        {"<0>", QByteArray(1, '\0')},
        // a "<" without a number stands for itself
        {"a<b>c<", "a<b>c<"},
        {"<<13>>", "<\r>"},
        {QString(QChar(176)), "\xb0"},
    };
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(RequestCommand::decode(text), bytes) << text.toStdString();
    EXPECT_FALSE(RequestCommand::decode("S<300>").has_value());
}
