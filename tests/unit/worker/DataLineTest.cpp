#include "worker/DataLine.h"
#include "config/Config.h"
#include "worker/Extractor.h"

#include <gtest/gtest.h>

#include <random>

using serwedge::config::Config;
using serwedge::config::ConfigHelper::Instrument;
using serwedge::worker::DataLine;
using serwedge::worker::Extractor;
using serwedge::worker::MultiDataLine;
using serwedge::worker::PatternError;

TEST(TransformControlChars, rendersCodesOutsidePrintableAscii) {
    EXPECT_EQ(DataLine::transformControlChars(""), "");
    QString s;
    for (int c : {31, 32, 126, 127, 0, 176, 255})
        s += QChar(static_cast<char16_t>(c));
    EXPECT_EQ(DataLine::transformControlChars(s), "<31> ~<127><0><176><255>");
    EXPECT_EQ(DataLine::transformControlChars("  12.50 g\r\n"), "  12.50 g<13><10>");
    EXPECT_EQ(DataLine::transformControlChars(QString(QChar(0x20AC))), "<8364>");
}

TEST(DataLineTest, deleteProcessedDataKeepsEverythingElse) {
    const QDateTime t = QDateTime::currentDateTimeUtc();
    DataLine line("ST,+000012.34 g\r\n", "12.34", 7, t, true);
    EXPECT_TRUE(line.hasValue());
    DataLine copy = line.copy();
    line.deleteProcessedData();
    EXPECT_FALSE(line.hasValue());
    EXPECT_EQ(line.getProcessedData(), "");
    EXPECT_EQ(line.getCount(), 7);
    EXPECT_EQ(line.getInstant(), t);
    EXPECT_TRUE(line.isError());
    EXPECT_EQ(line.getRawData(), "ST,+000012.34 g<13><10>");
    EXPECT_TRUE(copy.hasValue()); // the copy keeps its value
}

TEST(MultiDataLineTest, valuesByIndexAndShortConstructor) {
    MultiDataLine m("a\rb", {"1.5", "2"}, QDateTime::currentDateTimeUtc());
    EXPECT_EQ(m.getCount(), 0);
    EXPECT_FALSE(m.isError());
    EXPECT_EQ(m.getNumericValue(1), "2");
    EXPECT_THROW((void)m.getNumericValue(2), std::out_of_range);
    EXPECT_EQ(m.getRawData(), "a<13>b");
}

TEST(Extraction, defaultPatternFindsTheSignedValueInABalanceLine) {
    const Extractor e(Instrument::defaultPattern(), 1);
    const auto r = e.extract("ST,+000012.34 g\r\n");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.value, "+000012.34");
    const auto none = e.extract("no digits here\r");
    EXPECT_TRUE(none.ok);
    EXPECT_EQ(none.value, "");
}

TEST(Extraction, dotMatchesNeitherCarriageReturnNorLineFeed) {
    const Extractor e("^A.(\\d)", 1);
    EXPECT_EQ(e.extract("A\r5").value, "");
    EXPECT_EQ(e.extract("A\n5").value, "");
    EXPECT_EQ(e.extract("A 5").value, "5");
    const Extractor anchored("^(\\d+)$", 1);
    EXPECT_EQ(anchored.extract("12\r\n").value, "12");  // $ before a final terminator
    EXPECT_EQ(anchored.extract("x\n12\r\n").value, ""); // ^ anchors at the whole text
}

TEST(Extraction, customPatternWinsAndNumericWorkerKeepsThePresetGroup) {
    Config c;
    c.setInstrument(Instrument::GENERIC);
    c.setCustomRegEx(R"((Wt)\s?(\d+))");
    EXPECT_EQ(Extractor::forConfig(c, false).pattern(), c.getCustomRegEx());
    EXPECT_EQ(Extractor::forConfig(c, false).captureGroup(), 1);
    EXPECT_EQ(Extractor::forConfig(c, true).captureGroup(), 1);
    EXPECT_EQ(Extractor::forConfig(c, false).extract("Wt 42").value, "Wt");
    c.setCustomRegEx("");
    EXPECT_EQ(Extractor::forConfig(c, false).pattern(), Instrument::defaultPattern());
}

TEST(Extraction, missingOrNonParticipatingGroupIsALineErrorNotAnException) {
    const Extractor noGroup2("(\\d+)", 2);
    const auto r = noGroup2.extract("abc 12");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("no group 2")) << r.error.toStdString();
    const Extractor optional("(a)?(\\d+)", 1);
    const auto r2 = optional.extract("12");
    EXPECT_FALSE(r2.ok);
    EXPECT_TRUE(r2.error.contains("took no part")) << r2.error.toStdString();
    EXPECT_TRUE(noGroup2.extract("no digits").ok); // no match is no error
}

TEST(Extraction, patternThatDoesNotCompileIsRefusedAtConstruction) {
    EXPECT_THROW(Extractor("([0-9]+", 1), PatternError);
    try {
        Extractor("[abc(", 1);
        FAIL();
    } catch (const PatternError& e) {
        EXPECT_NE(std::string(e.what()).find("[abc("), std::string::npos);
    }
}

TEST(Extraction, randomBytesNeverCrashForAnyPreset) {
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> byte(0, 255), len(0, 300);
    std::vector<Extractor> extractors;
    for (const Instrument& p : Instrument::values())
        extractors.emplace_back(p.getPattern(), p.getCaptureGroup());
    extractors.emplace_back("(a)?(b)?(\\d+)", 2);
    int matched = 0;
    for (int i = 0; i < 3000; ++i) {
        QString line;
        const int n = len(rng);
        for (int k = 0; k < n; ++k)
            line += QChar(static_cast<char16_t>(byte(rng)));
        for (const auto& e : extractors) {
            const auto r = e.extract(line);
            if (r.ok && !r.value.isEmpty()) {
                EXPECT_TRUE(line.contains(r.value));
                ++matched;
            }
        }
    }
    EXPECT_GT(matched, 0);
}

TEST(Extraction, aCatastrophicPatternIsStoppedAndReportedForThatLine) {
    const Extractor e("^(a+)+$", 1);
    const auto r = e.extract(QString(40, QLatin1Char('a')) + "b");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("took too long")) << r.error.toStdString();
    EXPECT_EQ(e.extract("aaa").value, "aaa"); // the same pattern still works on a sane line
}
