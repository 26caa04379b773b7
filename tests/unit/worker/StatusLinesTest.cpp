// Status lines of the presets whose formats show status words: each gets its kind, and the
// out-of-range, error and not-a-value ones are never typed, while weight lines keep their values.

#include "config/Config.h"
#include "config/Instrument.h"
#include "worker/DataLine.h"
#include "worker/LineProcessor.h"
#include "worker/ValueChain.h"

#include <gtest/gtest.h>

#include <optional>

using serwedge::config::Config;
using serwedge::worker::DataLine;
using serwedge::worker::LineProcessor;
using namespace serwedge::config::ConfigHelper;

namespace {

Config presetConfig(Instrument preset, bool stableOnly = false) {
    Config c;
    c.setInstrument(preset);
    c.stableOnly = stableOnly;
    return c;
}

std::string shown(const QString& line) {
    return DataLine::transformControlChars(line).toStdString();
}

struct StatusCase {
    Instrument::Value preset;
    const char* line;
    std::optional<StatusKind> kind;
    const char* value; // what is typed; nullptr when the line is withheld
    bool stableOnly = false;
};

const StatusCase kCases[] = {
    // MT-SICS replies
    {Instrument::METTLER_DIALOG, "S S     100.00 g\r\n", StatusKind::STABLE, "100.00"},
    {Instrument::METTLER_DIALOG, "S D      99.98 g\r\n", StatusKind::UNSTABLE, "99.98"},
    {Instrument::METTLER_DIALOG, "S D      99.98 g\r\n", StatusKind::UNSTABLE, nullptr, true},
    {Instrument::METTLER_DIALOG, "S S     -12.50 g\r\n", StatusKind::STABLE, "-12.50", true},
    {Instrument::METTLER_DIALOG, "S I\r\n", StatusKind::ERROR, nullptr},
    {Instrument::METTLER_DIALOG, "S +\r\n", StatusKind::OVERLOAD, nullptr},
    {Instrument::METTLER_DIALOG, "S -\r\n", StatusKind::UNDERLOAD, nullptr},
    {Instrument::METTLER_DIALOG, "EL\r\n", StatusKind::ERROR, nullptr},
    {Instrument::METTLER_DIALOG, "T S      12.34 g\r\n", StatusKind::NOT_A_VALUE, nullptr},
    {Instrument::METTLER_DIALOG, "Z A\r\n", StatusKind::NOT_A_VALUE, nullptr},
    {Instrument::METTLER_DIALOG, "Z +\r\n", StatusKind::OVERLOAD, nullptr},
    {Instrument::METTLER_PRINT, "ES\r\n", StatusKind::ERROR, nullptr},
    // A&D headers; an overload line whose number is the balance's maximum
    {Instrument::AND, "ST,+00012.34  g\r\n", StatusKind::STABLE, "12.34", true},
    {Instrument::AND, "US,-00001.20  g\r\n", StatusKind::UNSTABLE, "-1.20"},
    {Instrument::AND, "US,-00001.20  g\r\n", StatusKind::UNSTABLE, nullptr, true},
    {Instrument::AND, "OL,+00220.00  g\r\n", StatusKind::OVERLOAD, nullptr},
    {Instrument::AND, "QT,+00000101 PC\r\n", StatusKind::STABLE, "101"},
    {Instrument::AND_SIMPLE, "\nOL,-00220.00  g\r", StatusKind::OVERLOAD, nullptr},
    // Adam, Kern and Wedderburn tickets: dates, times, identifiers and prices are no readings
    {Instrument::ADAM_GC_WEIGHT, "Date   07/09/2010\r", StatusKind::NOT_A_VALUE, nullptr},
    {Instrument::ADAM_GC_PCS, "Scale ID         \r\n", StatusKind::NOT_A_VALUE, nullptr},
    {Instrument::ADAM_GC_WEIGHT, "Net Wt     0.0845 kg\r", std::nullopt, "0.0845"},
    {Instrument::ADAM_AZEXTRA_WEIGHT, "10/06/2016   03:52:47\r\n", StatusKind::NOT_A_VALUE,
     nullptr},
    {Instrument::ADAM_AZEXTRA_WEIGHT, "TOTAL ?  412.53\r\n", StatusKind::NOT_A_VALUE, nullptr},
    {Instrument::ADAM_AZEXTRA_WEIGHT, "NET.      1.234kg\r\n", std::nullopt, "1.234"},
    {Instrument::ADAM_CPWPLUS, "add:   A\n", StatusKind::NOT_A_VALUE, nullptr},
    {Instrument::KERN_RPB, "   0.34 EUR/kg\r", StatusKind::NOT_A_VALUE, nullptr},
    {Instrument::WEDDERBURN, "14/06/2016 13:26:35", StatusKind::NOT_A_VALUE, nullptr},
    // Formats without status words: nothing changes, even for a date or with stable-only.
    {Instrument::GENERIC, "Date 07/09/2010\r", std::nullopt, "7", true},
    {Instrument::OHAUS, "S +\r\n", std::nullopt, ""},
};

} // namespace

TEST(StatusLines, eachPresetsStatusLinesGetTheirKindAndOnlyReadingsAreTyped) {
    for (const StatusCase& c : kCases) {
        const LineProcessor lines(presetConfig(c.preset, c.stableOnly), false);
        const QString raw = QString::fromLatin1(c.line);
        const DataLine line = lines.process(raw, 7, false);
        const std::string where = Instrument(c.preset).name().toStdString() + " " + shown(raw);
        EXPECT_EQ(line.getStatus(), c.kind) << where;
        EXPECT_EQ(line.isWithheld(), c.value == nullptr) << where;
        EXPECT_EQ(line.getProcessedData().toStdString(), c.value ? c.value : "") << where;
    }
}

// The status tables may not take away a value that a preset's own sample lines give (and every
// table compiles).
TEST(StatusLines, everySampleLineThatGivesAValueStillGivesIt) {
    for (const Instrument& preset : Instrument::values()) {
        const Config config = presetConfig(preset);
        const bool text = preset.getInstrumentType() == InstrumentType::TEXT;
        const LineProcessor lines(config, text);
        const serwedge::worker::ValueChain chain(config, !text);
        for (const auto& [sample, capture] : preset.getTestStrings()) {
            const DataLine line = lines.process(sample, 1, false);
            if (!capture.isEmpty()) {
                EXPECT_FALSE(line.isWithheld())
                    << preset.name().toStdString() << " " << shown(sample);
            }
            EXPECT_EQ(line.getProcessedData(), chain.process(capture))
                << preset.name().toStdString() << " " << shown(sample);
        }
    }
}
