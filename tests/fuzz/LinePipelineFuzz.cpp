// The line pipeline as the reading worker runs it: bytes cut into lines at the input terminator,
// the value found with the preset's (or a custom) pattern, then edited, stripped and formatted.
//
// Input: eight setting bytes (preset, separator, rounding, decimal places, math operation and
// operand, edit, characters to remove, custom pattern), then the received bytes.
// A line may fail only with a LineError; a numeric value that comes out is always a plain
// number with the chosen separator.

#include "FuzzSupport.h"

#include "config/Config.h"
#include "config/Decimal.h"
#include "worker/Extractor.h"
#include "worker/LineError.h"
#include "worker/LineSplitter.h"
#include "worker/ValueChain.h"
#include "worker/WeightWorker.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

using namespace serwedge;
using config::Config;
namespace H = config::ConfigHelper;

namespace {

constexpr std::array kDecimalPlaces{"", "0", "1", "2", "3", "6", "-1", "x", "2147483648", "20"};
constexpr std::array kOperands{"", "1000", "3", "0", "0.001", "-2.5", "1E3", "x", "1e-9", "7"};
constexpr std::array kEditCounts{"", "0", "1", "2", "5", "100", "-1", "a"};
constexpr std::array kRemove{"", "gk", " ", "+-", "0", ".,", "\r\n", "ST"};
constexpr std::array kPatterns{
    "",
    "",
    "",
    "",
    "([-+]?\\s*[0-9]*[\\.,]?[0-9]+)",
    "V=(\\S+)",
    "(\\d+)(?:\\.(\\d+))?",
    "^(.*)$",
    "(x)?(\\d)",
    "([A-Z]+)\\s+(.+?)\\r",
};

Config configFrom(fuzz::Input& in) {
    const auto instrument = static_cast<H::Instrument::Value>(in.pick(H::Instrument::count()));
    Config c = H::Instrument(instrument).getDefaultConfig();
    c.setPort(QStringLiteral("FUZZ"));
    c.setInstrument(H::Instrument(instrument));
    const std::uint8_t format = in.byte();
    c.setDecimalSeparator((format & 1) ? H::DecimalSeparator::COMMA : H::DecimalSeparator::DOT);
    c.setRoundingMethod(
        static_cast<H::RoundingMethod::Value>((format >> 1) % H::RoundingMethod::count()));
    c.setDecimalPlaces(QString::fromLatin1(kDecimalPlaces[in.pick(kDecimalPlaces.size())]));
    c.setMathOperation(static_cast<H::MathOperation::Value>(in.pick(H::MathOperation::count())));
    c.setMathOperand(QString::fromLatin1(kOperands[in.pick(kOperands.size())]));
    const std::uint8_t edit = in.byte();
    c.setEditOperation((edit & 1) ? H::EditOperation::KEEP : H::EditOperation::REMOVE);
    c.setEditPosition((edit & 2) ? H::EditPosition::LAST : H::EditPosition::FIRST);
    c.setEditNumCharacters(QString::fromLatin1(kEditCounts[(edit >> 2) % kEditCounts.size()]));
    c.setRemoveCharacters(QString::fromLatin1(kRemove[in.pick(kRemove.size())]));
    const std::uint8_t pattern = in.byte();
    c.setCustomRegEx(QString::fromLatin1(kPatterns[pattern % kPatterns.size()]));
    // Now and then a terminator other than the preset's.
    if (pattern >= 0xF0)
        c.setInputTerminator(pattern & 0x0F ? 10 : 0);
    return c;
}

void checkNumericValue(const QString& value, const Config& config) {
    if (value.isEmpty())
        return;
    static const QRegularExpression plain(QStringLiteral("^-?[0-9]+([.,][0-9]+)?$"));
    fuzz::check(plain.match(value).hasMatch(), "numeric value is a plain number", value);
    const QChar other = config.getDecimalSeparator() == H::DecimalSeparator::COMMA ? u'.' : u',';
    fuzz::check(!value.contains(other), "value uses the chosen separator", value);
    static const QRegularExpression nonZero(QStringLiteral("[1-9]"));
    fuzz::check(!value.startsWith(u'-') || value.contains(nonZero), "zero carries no sign", value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const Config config = configFrom(in);
    const bool textWorker =
        config.getInstrument().value_or(H::Instrument::GENERIC).getInstrumentType() !=
        H::InstrumentType::NUMBER;
    std::optional<worker::Extractor> extractor;
    std::optional<worker::ValueChain> chain;
    try {
        extractor.emplace(worker::Extractor::forConfig(config, textWorker));
        chain.emplace(config, !textWorker);
    } catch (const worker::PatternError&) {
        return 0; // the worker refuses to start; nothing more to run
    } catch (const config::NumberFormatError&) {
        return 0;
    }

    // The bytes arrive in reads of some size, as from a port.
    const QByteArray bytes = in.rest();
    const std::size_t piece = 1 + static_cast<std::size_t>(bytes.size()) % 23;
    const int terminator = config.getInputTerminator();
    struct Lines : worker::LineSplitter::Sink {
        void line(QString raw, bool) override {
            fuzz::check(!raw.isEmpty() && raw.back().unicode() == terminator,
                        "a line ends with its terminator", raw);
            fuzz::check(raw.size() <= worker::WeightWorker::kMaxLineLength + 1,
                        "a line keeps within the cap", raw.left(40));
            const worker::ExtractionResult extracted = extractor->extract(raw);
            if (!extracted.ok) {
                fuzz::check(!extracted.errorKind.isEmpty() && !extracted.error.isEmpty(),
                            "extraction error has a kind and a text");
                return;
            }
            fuzz::check(extracted.value.size() <= raw.size(), "value is part of the line",
                        extracted.value);
            try {
                const QString processed = chain->process(extracted.value);
                if (!textWorker)
                    checkNumericValue(processed, *config);
            } catch (const worker::LineError& e) {
                fuzz::check(!e.description().isEmpty(), "line error has a text");
            }
        }
        void overlong() override {}
        int terminator;
        const Config* config;
        bool textWorker;
        worker::Extractor* extractor;
        worker::ValueChain* chain;
    } lines;
    lines.terminator = terminator;
    lines.config = &config;
    lines.textWorker = textWorker;
    lines.extractor = &*extractor;
    lines.chain = &*chain;
    worker::LineSplitter splitter(terminator, worker::WeightWorker::kMaxLineLength);
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    for (std::size_t at = 0; at < static_cast<std::size_t>(bytes.size()); at += piece)
        splitter.feed(p + at, std::min(piece, static_cast<std::size_t>(bytes.size()) - at), false,
                      lines);
    return 0;
}
