#include "worker/Extractor.h"

#include "config/Config.h"
#include "config/Pattern.h"

namespace serwedge::worker {

using config::ConfigHelper::Instrument;

Extractor::Extractor(const QString& pattern, int captureGroup)
    : pattern_(pattern), group_(captureGroup), re_(config::compilePattern(pattern)) {
    if (!re_.isValid()) {
        throw PatternError(QStringLiteral("Invalid regular expression \"%1\": %2 at offset %3")
                               .arg(pattern, re_.errorString())
                               .arg(re_.patternErrorOffset())
                               .toStdString());
    }
    re_.optimize();
}

Extractor Extractor::forConfig(const config::Config& config, bool textWorker) {
    const Instrument instrument = config.getInstrument().value_or(Instrument::getDefault());
    const QString pattern =
        config.getCustomRegEx().isEmpty() ? instrument.getPattern() : config.getCustomRegEx();
    return Extractor(pattern, textWorker ? 1 : instrument.getCaptureGroup());
}

ExtractionResult Extractor::extract(const QString& line) const {
    const QRegularExpressionMatch m = re_.match(line);
    if (!m.isValid()) {
        // The engine gave up (its match or depth limit): say so instead of typing nothing.
        return {false,
                {},
                QStringLiteral("Pattern error"),
                QStringLiteral("the pattern %1 took too long on this line and was stopped")
                    .arg(pattern_)};
    }
    if (!m.hasMatch())
        return {true, QStringLiteral(""), {}, {}};
    if (group_ < 0 || group_ > re_.captureCount()) {
        return {false,
                {},
                QStringLiteral("Group error"),
                QStringLiteral("the pattern %2 has no group %1").arg(group_).arg(pattern_)};
    }
    if (m.capturedStart(group_) < 0) {
        return {false,
                {},
                QStringLiteral("Group error"),
                QStringLiteral("group %1 of the pattern %2 took no part in the match")
                    .arg(group_)
                    .arg(pattern_)};
    }
    return {true, m.captured(group_), {}, {}};
}

} // namespace serwedge::worker
