// The checks of typed-in settings, the input-terminator check and the pattern preview.

#include "serwedge/FieldVerifiers.h"
#include "serwedge/PatternPreview.h"
#include "worker/Extractor.h"

#include <gtest/gtest.h>

#include <random>

using serwedge::checkInputTerminator;
using serwedge::fieldVerifier;
using serwedge::fieldVerifiers;
using serwedge::PatternPreview;
using serwedge::VerifiedField;
using serwedge::verifyAndStore;
using serwedge::verifyField;
using serwedge::config::Config;
using Instrument = serwedge::config::ConfigHelper::Instrument;
using Outcome = PatternPreview::Outcome;

namespace {

struct VerifierCase {
    VerifiedField field;
    const char* text;
    bool valid;
    const char* stored; // the normalised text when valid
};

std::ostream& operator<<(std::ostream& os, const VerifierCase& c) {
    return os << fieldVerifier(c.field).controlName << " \"" << c.text << "\"";
}

class VerifierTable : public ::testing::TestWithParam<VerifierCase> {};

constexpr auto MO = VerifiedField::MathOperand;
constexpr auto DP = VerifiedField::DecimalPlaces;
constexpr auto NC = VerifiedField::EditNumCharacters;
constexpr auto RC = VerifiedField::RemoveCharacters;
constexpr auto EX = VerifiedField::EveryXValues;
constexpr auto DL = VerifiedField::Delay;
constexpr auto TL = VerifiedField::IgnoreTimeLimit;
constexpr auto DF = VerifiedField::IgnoreDifference;

const VerifierCase kCases[] = {
    // math operand: a decimal other than "0"; a decimal comma is read as a point
    {MO, "", true, ""},
    {MO, "1,5", true, "1.5"},
    {MO, "1.5", true, "1.5"},
    {MO, "-2", true, "-2"},
    {MO, "1000", true, "1000"},
    {MO, "0", false, nullptr},
    {MO, "abc", false, nullptr},
    {MO, "1,2,3", false, nullptr},
    {MO, "1.2.3", false, nullptr},
    {MO, " 2", false, nullptr},
    // decimal places 0..7, no comma reading
    {DP, "", true, ""},
    {DP, "0", true, "0"},
    {DP, "7", true, "7"},
    {DP, "8", false, nullptr},
    {DP, "-1", false, nullptr},
    {DP, "1,0", false, nullptr},
    {DP, "2.0", false, nullptr},
    // characters to edit 1..99
    {NC, "", true, ""},
    {NC, "1", true, "1"},
    {NC, "99", true, "99"},
    {NC, "0", false, nullptr},
    {NC, "100", false, nullptr},
    {NC, "x", false, nullptr},
    // characters to remove: Latin-1 only
    {RC, "", true, ""},
    {RC, "gkg ", true, "gkg "},
    {RC, "\xc3\xbf\t", true, "\xc3\xbf\t"},    // U+00FF and TAB
    {RC, "\xe2\x82\xac", false, nullptr},      // euro sign U+20AC
    {RC, "a\xf0\x9f\x98\x80", false, nullptr}, // an emoji beyond the BMP
    // every X values 2..99
    {EX, "", true, ""},
    {EX, "2", true, "2"},
    {EX, "99", true, "99"},
    {EX, "1", false, nullptr},
    {EX, "100", false, nullptr},
    // delay 0..1000 ms
    {DL, "", true, ""},
    {DL, "0", true, "0"},
    {DL, "1000", true, "1000"},
    {DL, "1001", false, nullptr},
    {DL, "-1", false, nullptr},
    {DL, "20ms", false, nullptr},
    {DL, "99999999999999999999", false, nullptr},
    // duplicate suppression: time limit an integer > 0, difference a decimal > 0
    {TL, "", true, ""},
    {TL, "1", true, "1"},
    {TL, "0", false, nullptr},
    {TL, "-5", false, nullptr},
    {TL, "1,5", false, nullptr},
    {DF, "", true, ""},
    {DF, "0,5", true, "0.5"},
    {DF, "2", true, "2"},
    {DF, "0,0", false, nullptr},
    {DF, "0", false, nullptr},
    {DF, "-0,5", false, nullptr},
    {DF, "half", false, nullptr},
};

} // namespace

TEST_P(VerifierTable, acceptsOrRefusesWithTheFieldsMessage) {
    const VerifierCase& c = GetParam();
    const auto result = verifyField(c.field, QString::fromUtf8(c.text));
    EXPECT_EQ(result.valid, c.valid);
    if (c.valid) {
        EXPECT_EQ(result.text, QString::fromUtf8(c.stored));
        EXPECT_EQ(result.messageKey, nullptr);
    } else {
        ASSERT_NE(result.messageKey, nullptr);
        EXPECT_STREQ(result.messageKey, fieldVerifier(c.field).messageKey);
    }
}

INSTANTIATE_TEST_SUITE_P(AllFields, VerifierTable, ::testing::ValuesIn(kCases));

TEST(FieldVerifiers, tableRowsFollowTheFieldOrderWithTheirMessages) {
    const auto& table = fieldVerifiers();
    ASSERT_EQ(table.size(), 10u);
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(static_cast<std::size_t>(table[i].field), i) << table[i].controlName;
    EXPECT_STREQ(fieldVerifier(MO).messageKey, "error.math.operand");
    EXPECT_STREQ(fieldVerifier(DP).messageKey, "error.decimal.places");
    EXPECT_STREQ(fieldVerifier(NC).messageKey, "error.edit.numCharacters");
    EXPECT_STREQ(fieldVerifier(RC).messageKey, "error.edit.removeCharacters");
    EXPECT_STREQ(fieldVerifier(EX).messageKey, "error.edit.everyXValues");
    EXPECT_STREQ(fieldVerifier(DL).messageKey, "error.intercharacter.delay");
    EXPECT_STREQ(fieldVerifier(TL).messageKey, "ignore.error");
    EXPECT_STREQ(fieldVerifier(DF).messageKey, "ignore.error");
}

TEST(FieldVerifiers, storeOnlyValidTextsInTheirOwnField) {
    Config config;
    config.setDelay("20");
    EXPECT_FALSE(verifyAndStore(DL, "5000", config).valid);
    EXPECT_EQ(config.getDelay(), "20");
    EXPECT_TRUE(verifyAndStore(DL, "", config).valid);
    EXPECT_EQ(config.getDelay(), "");

    EXPECT_TRUE(verifyAndStore(MO, "2,5", config).valid);
    EXPECT_EQ(config.getMathOperand(), "2.5");
    EXPECT_FALSE(verifyAndStore(MO, "0", config).valid);
    EXPECT_EQ(config.getMathOperand(), "2.5");

    EXPECT_TRUE(verifyAndStore(DF, "0,25", config).valid);
    EXPECT_EQ(config.getIgnoreDifference(), "0.25");
    EXPECT_TRUE(verifyAndStore(TL, "300", config).valid);
    EXPECT_EQ(config.getIgnoreTimeLimit(), "300");
    EXPECT_TRUE(verifyAndStore(EX, "3", config).valid);
    EXPECT_EQ(config.getEveryXValues(), "3");
    EXPECT_TRUE(verifyAndStore(NC, "4", config).valid);
    EXPECT_EQ(config.getEditNumCharacters(), "4");
    EXPECT_TRUE(verifyAndStore(RC, "g", config).valid);
    EXPECT_EQ(config.getRemoveCharacters(), "g");
    EXPECT_TRUE(verifyAndStore(DP, "0", config).valid);
    EXPECT_EQ(config.getDecimalPlaces(), "0");
    // Nothing spilled into another field.
    EXPECT_EQ(config.getDelay(), "");
    EXPECT_EQ(config.getMathOperand(), "2.5");
}

// Texts of any length and any UTF-16 code units, lone surrogates and NULs included: every
// verifier answers, and nothing it accepts breaks its own rule on a second look.
TEST(FieldVerifiers, arbitraryTextsAlwaysGetAnAnswer) {
    std::mt19937 rng(20180208);
    std::uniform_int_distribution<int> length(0, 300);
    std::uniform_int_distribution<int> unit(0, 0xFFFF);
    std::uniform_int_distribution<int> ascii(0, 127);
    for (int round = 0; round < 400; ++round) {
        QString text;
        const int n = length(rng);
        for (int i = 0; i < n; ++i)
            text.append(QChar(static_cast<char16_t>(round % 2 ? unit(rng) : ascii(rng))));
        for (const auto& row : fieldVerifiers()) {
            const auto result = verifyField(row.field, text);
            if (result.valid)
                EXPECT_TRUE(row.rule(result.text)) << row.controlName;
            else
                EXPECT_NE(result.messageKey, nullptr);
        }
    }
    // A megabyte of digits: beyond every integer field and beyond the digits a decimal holds.
    const QString huge(1 << 20, QLatin1Char('7'));
    for (auto field : {MO, DP, NC, EX, DL, TL, DF})
        EXPECT_FALSE(verifyField(field, huge).valid) << fieldVerifier(field).controlName;
    EXPECT_TRUE(verifyField(RC, huge).valid);
}

TEST(InputTerminator, typedOrOfferedEntriesWithinAByte) {
    EXPECT_EQ(checkInputTerminator("300"), std::nullopt);
    EXPECT_EQ(checkInputTerminator("3"), 3);
    EXPECT_EQ(checkInputTerminator("13 <CR>"), 13);
    EXPECT_EQ(checkInputTerminator("10 <LF>"), 10);
    EXPECT_EQ(checkInputTerminator("4 <EOT>"), 4);
    EXPECT_EQ(checkInputTerminator("0"), 0);
    EXPECT_EQ(checkInputTerminator("255"), 255);
    for (const char* refused :
         {"256", "-1", "", " 3", "3 ", "0x0d", "CR", "13 <LF>", "99999999999999999999", "1.0"})
        EXPECT_EQ(checkInputTerminator(refused), std::nullopt) << refused;
}

TEST(PatternPreview, reportsEveryWayALineCanFare) {
    const QString balance = QStringLiteral("ST,([-+]?\\d+\\.\\d+)\\s*(g)?");
    auto p = PatternPreview::run(balance, 1, "ST,+000012.34  g\r");
    EXPECT_EQ(p.outcome, Outcome::Captured);
    EXPECT_EQ(p.text, "+000012.34");

    EXPECT_EQ(PatternPreview::run(balance, 1, "US,garbage\r").outcome, Outcome::NoMatch);
    EXPECT_EQ(PatternPreview::run(balance, 1, "").outcome, Outcome::NoSample);
    EXPECT_EQ(PatternPreview::run(balance, 3, "ST,+1.0 g\r").outcome, Outcome::NoSuchGroup);
    EXPECT_EQ(PatternPreview::run("(a)|b", 1, "b").outcome, Outcome::GroupNotTaken);

    // A captured empty text is a capture, as the worker sees it.
    p = PatternPreview::run("x(\\d*)", 1, "x");
    EXPECT_EQ(p.outcome, Outcome::Captured);
    EXPECT_EQ(p.text, "");
}

TEST(PatternPreview, namesTheCompileErrorAndItsPlaceInTheUsersPattern) {
    const auto p = PatternPreview::run("ab(c", 1, "abc");
    EXPECT_EQ(p.outcome, Outcome::DoesNotCompile);
    EXPECT_FALSE(p.text.isEmpty());
    // The missing ")" is noticed at the end of the user's four characters.
    EXPECT_EQ(p.offset, 4);
    // Also reported without a sample: the user learns it while typing the pattern.
    EXPECT_EQ(PatternPreview::run("[", 1, "").outcome, Outcome::DoesNotCompile);
}

TEST(PatternPreview, catastrophicBacktrackingIsCutOffAndReported) {
    const QString line = QString(40, QLatin1Char('a')) + QLatin1Char('!');
    // Some 2^40 backtracking steps without the engine's match limit.
    const auto p = PatternPreview::run("^(a+)+$", 1, line);
    EXPECT_EQ(p.outcome, Outcome::MatchAborted);
}

// The preview makes of each preset's sample lines what the reading worker makes of them.
TEST(PatternPreview, agreesWithTheWorkersExtractionOnPresetSamples) {
    int checked = 0;
    for (const Instrument& preset : Instrument::values()) {
        const serwedge::worker::Extractor extractor(preset.getPattern(), preset.getCaptureGroup());
        for (const auto& [line, expected] : preset.getTestStrings()) {
            if (line.isEmpty())
                continue;
            const auto p = PatternPreview::run(preset.getPattern(), preset.getCaptureGroup(), line);
            const auto worker = extractor.extract(line);
            ASSERT_TRUE(worker.ok);
            if (p.outcome == Outcome::Captured)
                EXPECT_EQ(p.text, worker.value) << preset.name().toStdString();
            else
                EXPECT_TRUE(p.outcome == Outcome::NoMatch && worker.value.isEmpty())
                    << preset.name().toStdString() << " outcome " << static_cast<int>(p.outcome);
            ++checked;
        }
    }
    EXPECT_GE(checked, 40);
}
