#include "config/Instrument.h"
#include "config/Config.h"
#include "worker/DataLine.h"
#include "worker/Extractor.h"

#include <gtest/gtest.h>

using serwedge::config::Config;
using serwedge::worker::Extractor;
using namespace serwedge::config::ConfigHelper;

// Every preset's pattern, searched in each of its sample lines, finds exactly the expected
// capture (blanks included), or nothing where none is expected.
TEST(InstrumentPresets, everyPatternYieldsTheExpectedCaptureOnItsSampleLines) {
    int checked = 0;
    for (const Instrument& preset : Instrument::values()) {
        const Extractor extractor(preset.getPattern(), preset.getCaptureGroup());
        for (const auto& [line, expected] : preset.getTestStrings()) {
            const auto result = extractor.extract(line);
            ASSERT_TRUE(result.ok)
                << preset.name().toStdString() << ": " << result.error.toStdString();
            EXPECT_EQ(result.value.toStdString(), expected.toStdString())
                << preset.name().toStdString() << " on \""
                << serwedge::worker::DataLine::transformControlChars(line).toStdString() << "\"";
            ++checked;
        }
    }
    EXPECT_GE(checked, 70);
}

TEST(InstrumentPresets, samplePairsListedForThePresetsThatHaveThem) {
    EXPECT_EQ(Instrument(Instrument::WEDDERBURN).getTestStrings().size(), 6u);
    EXPECT_EQ(Instrument(Instrument::ADAM_GC_WEIGHT).getTestStrings().size(), 6u);
    EXPECT_EQ(Instrument(Instrument::AND_EM).getTestStrings(),
              Instrument(Instrument::AND).getTestStrings());
    const auto generic = Instrument(Instrument::GENERIC).getTestStrings();
    ASSERT_EQ(generic.size(), 1u);
    EXPECT_TRUE(generic[0].first.isEmpty() && generic[0].second.isEmpty());
}

TEST(InstrumentPresets, defaultConfigIsFreshOnEveryCall) {
    for (const Instrument& preset : Instrument::values()) {
        Config a = preset.getDefaultConfig();
        a.setBitRate(1);
        Config b = preset.getDefaultConfig();
        EXPECT_NE(b.getBitRate(), 1) << preset.name().toStdString();
        EXPECT_TRUE(BitRates::valid(b.getBitRate()));
        EXPECT_TRUE(InputTerminator::valid(b.getInputTerminator()));
    }
}

TEST(InstrumentPresets, borrowedLineSettingsAndPatterns) {
    const Config kern572 = Instrument(Instrument::KERN_572).getDefaultConfig();
    for (auto p : {Instrument::KERND_440E, Instrument::KERND_DE, Instrument::KERN_DS,
                   Instrument::KERN_FKB, Instrument::KERN_KB_N}) {
        EXPECT_FALSE(Config::hasChanged(Instrument(p).getDefaultConfig(), kern572));
    }
    EXPECT_EQ(Instrument(Instrument::AND_SIMPLE).getPattern(),
              Instrument(Instrument::AND).getPattern());
    EXPECT_FALSE(Config::hasChanged(Instrument(Instrument::AND_SIMPLE).getDefaultConfig(),
                                    Instrument(Instrument::AND).getDefaultConfig()));
    EXPECT_TRUE(Config::hasChanged(Instrument(Instrument::AND_EM).getDefaultConfig(),
                                   Instrument(Instrument::AND).getDefaultConfig()));
}

TEST(InstrumentPresets, lineSettingsOfSelectedPresets) {
    struct Case {
        Instrument::Value preset;
        int bitRate, dataBits, parity, stopBits, terminator;
    };
    const Case cases[] = {
        {Instrument::SARTORIUS, BitRates::BR_1200, DataBits::LN_7BITS, Parity::ODD, 0, 10},
        {Instrument::MYWEIGH_HD, BitRates::BR_9600, DataBits::LN_8BITS, Parity::SPACE, 0, 13},
        {Instrument::AND, BitRates::BR_2400, DataBits::LN_7BITS, Parity::EVEN, 0, 10},
        {Instrument::GENERIC, BitRates::BR_9600, DataBits::LN_8BITS, Parity::NONE, 0, 13},
        {Instrument::ADAM_CBK, BitRates::BR_4800, DataBits::LN_8BITS, Parity::NONE, 0, 10},
        {Instrument::MITUTOYO, BitRates::BR_2400, DataBits::LN_8BITS, Parity::NONE, 0, 13},
        {Instrument::OHAUSSPU, BitRates::BR_2400, DataBits::LN_7BITS, Parity::NONE, 0, 10},
        {Instrument::PRECISA, BitRates::BR_9600, DataBits::LN_7BITS, Parity::EVEN, 0, 10},
        {Instrument::METTLER_PRINT, BitRates::BR_2400, DataBits::LN_7BITS, Parity::EVEN, 0, 10},
    };
    for (const Case& c : cases) {
        const Config d = Instrument(c.preset).getDefaultConfig();
        EXPECT_EQ(d.getBitRate(), c.bitRate) << Instrument(c.preset).name().toStdString();
        EXPECT_EQ(d.getDataBits(), c.dataBits);
        EXPECT_EQ(d.getParity(), c.parity);
        EXPECT_EQ(d.getStopBits(), c.stopBits);
        EXPECT_EQ(d.getInputTerminator(), c.terminator);
    }
}

TEST(InstrumentPresets, kindsKeyMapsMessagesAndListTexts) {
    int text = 0, messages = 0;
    for (const Instrument& p : Instrument::values()) {
        if (p.getInstrumentType() == InstrumentType::TEXT) {
            ++text;
            EXPECT_TRUE(p.toString().startsWith("<html><body><i>"));
            EXPECT_TRUE(p.toString().endsWith("</i></body></html>"));
        } else {
            EXPECT_EQ(p.toString(), p.toPlainString());
        }
        EXPECT_FALSE(p.toPlainString().isEmpty());
        if (auto m = p.getDefaultMessage()) {
            ++messages;
            EXPECT_FALSE(m->contains("defaultMessage"))
                << "untranslated key for " << p.name().toStdString();
        }
    }
    EXPECT_EQ(text, 3);
    EXPECT_EQ(messages, 12);
    EXPECT_EQ(Instrument(Instrument::BARCODE_ALPHA).getKeyMapType(),
              KeyMapType::ALPHANUMERIC_BASIC);
    EXPECT_EQ(Instrument(Instrument::BARCODE_ALPHA_COMPLETE).getKeyMapType(),
              KeyMapType::ALPHANUMERIC_COMPLETE);
    EXPECT_EQ(Instrument(Instrument::BARCODE).getKeyMapType(), KeyMapType::NUMERIC);
    EXPECT_EQ(Instrument(Instrument::MITUTOYO).getDataCommand(), "1\r");
    EXPECT_EQ(Instrument(Instrument::GENERIC).getDataCommand(), "");
    EXPECT_EQ(Instrument(Instrument::AND).toPlainString(), "A&D");
    EXPECT_EQ(Instrument(Instrument::BARCODE_ALPHA_COMPLETE).getPattern().size(), 48);
}

TEST(InstrumentPresets, completeBarcodeClassCoversExactlyPrintableAscii) {
    const Extractor e(Instrument(Instrument::BARCODE_ALPHA_COMPLETE).getPattern(), 1);
    for (int c = 0; c < 256; ++c) {
        const QString s(QChar(static_cast<char16_t>(c)));
        EXPECT_EQ(e.extract(s).value == s, c >= 32 && c <= 126) << c;
    }
}
