// Extraction plus the whole worker-side value chain, per received line, for three presets.
// One iteration is one line, so the reported time is the time per line.
//
//   value_chain_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

#include "config/Config.h"
#include "config/Instrument.h"
#include "worker/Extractor.h"
#include "worker/ValueChain.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

namespace CH = serwedge::config::ConfigHelper;
using serwedge::config::Config;
using serwedge::worker::Extractor;
using serwedge::worker::ValueChain;

// The lines a preset is fed: its sample lines that carry a value; for GENERIC, which has
// none, a typical balance line. longestOnly keeps only the longest sample.
std::vector<QString> linesFor(CH::Instrument instrument, bool longestOnly) {
    std::vector<QString> lines;
    for (const auto& [line, capture] : instrument.getTestStrings()) {
        if (!capture.isEmpty()) {
            lines.push_back(line);
        }
    }
    if (lines.empty()) {
        lines.push_back(QStringLiteral("ST,+000012.34  g\r"));
    }
    if (longestOnly) {
        const auto longest =
            std::max_element(lines.begin(), lines.end(), [](const QString& a, const QString& b) {
                return a.size() < b.size();
            });
        lines = {*longest};
    }
    return lines;
}

// allSteps: character removal, a multiplication, rounding to 2 places and a decimal comma on
// top of the preset's defaults (extraction and whitespace removal always run).
Config configFor(CH::Instrument instrument, bool allSteps) {
    Config config = instrument.getDefaultConfig();
    config.setInstrument(instrument);
    if (allSteps) {
        config.setRemoveCharacters(QStringLiteral("gk"));
        config.setMathOperation(CH::MathOperation::MULTIPLY);
        config.setMathOperand(QStringLiteral("1.5"));
        config.setDecimalPlaces(QStringLiteral("2"));
        config.setDecimalSeparator(CH::DecimalSeparator::COMMA);
    }
    return config;
}

void runChain(benchmark::State& state, CH::Instrument instrument, bool longestOnly) {
    const bool allSteps = state.range(0) != 0;
    const Config config = configFor(instrument, allSteps);
    const Extractor extractor = Extractor::forConfig(config, false);
    const ValueChain chain(config, true);
    const std::vector<QString> lines = linesFor(instrument, longestOnly);
    for (const QString& line : lines) {
        const auto found = extractor.extract(line);
        if (!found.ok || found.value.isEmpty() || chain.process(found.value).isEmpty()) {
            state.SkipWithError("a sample line gives no value");
            return;
        }
    }
    std::size_t next = 0;
    for (auto _ : state) {
        const QString& line = lines[next];
        next = next + 1 == lines.size() ? 0 : next + 1;
        const auto found = extractor.extract(line);
        QString value = chain.process(found.value);
        benchmark::DoNotOptimize(value);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(allSteps ? "all steps" : "preset defaults");
}

void generic(benchmark::State& state) {
    runChain(state, CH::Instrument::GENERIC, false);
}
void kernMps(benchmark::State& state) {
    runChain(state, CH::Instrument::KERN_MPS, false);
}
void adamAzextraWeightLongLine(benchmark::State& state) {
    runChain(state, CH::Instrument::ADAM_AZEXTRA_WEIGHT, true);
}

} // namespace

BENCHMARK(generic)->Arg(0)->Arg(1);
BENCHMARK(kernMps)->Arg(0)->Arg(1);
BENCHMARK(adamAzextraWeightLongLine)->Arg(0)->Arg(1);

BENCHMARK_MAIN();
