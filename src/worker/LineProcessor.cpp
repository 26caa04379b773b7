#include "worker/LineProcessor.h"

#include "config/Config.h"
#include "config/Pattern.h"
#include "worker/LineError.h"

namespace serwedge::worker {

using config::ConfigHelper::Instrument;
using config::ConfigHelper::StatusKind;

StatusClassifier::StatusClassifier(const Instrument& instrument) {
    for (const auto& [pattern, kind] : instrument.getStatusPatterns()) {
        QRegularExpression re = config::compilePattern(pattern);
        if (!re.isValid()) {
            throw PatternError(QStringLiteral("Invalid status pattern \"%1\" of %2: %3")
                                   .arg(pattern, instrument.name(), re.errorString())
                                   .toStdString());
        }
        re.optimize();
        patterns_.emplace_back(std::move(re), kind);
    }
}

std::optional<StatusKind> StatusClassifier::classify(const QString& line) const {
    for (const auto& [re, kind] : patterns_) {
        // A match the engine gave up on counts as no match: the line then goes the usual way.
        if (re.match(line).hasMatch())
            return kind;
    }
    return std::nullopt;
}

bool StatusClassifier::knowsStability() const {
    for (const auto& entry : patterns_) {
        if (entry.second == StatusKind::UNSTABLE)
            return true;
    }
    return false;
}

LineProcessor::LineProcessor(const config::Config& config, bool textWorker)
    : statuses_(config.getInstrument().value_or(Instrument::getDefault())),
      extractor_(Extractor::forConfig(config, textWorker)), chain_(config, !textWorker),
      stableOnly_(config.stableOnly) {}

DataLine LineProcessor::process(const QString& raw, int count, bool error) const {
    const std::optional<StatusKind> kind = statuses_.classify(raw);
    if (kind && (kind->withholdsValue() || (stableOnly_ && *kind == StatusKind::UNSTABLE))) {
        return DataLine(raw, QStringLiteral(""), count, QDateTime::currentDateTimeUtc(), error,
                        {kind, true});
    }
    const ExtractionResult extracted = extractor_.extract(raw);
    const QDateTime instant = QDateTime::currentDateTimeUtc();
    if (!extracted.ok)
        throw LineError(extracted.errorKind, extracted.error);
    return DataLine(raw, chain_.process(extracted.value), count, instant, error, {kind, false});
}

} // namespace serwedge::worker
