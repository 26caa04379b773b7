#include "serwedge/PatternPreview.h"

#include "config/Pattern.h"

#include <QRegularExpression>

namespace serwedge {

PatternPreview PatternPreview::run(const QString& pattern, int group, const QString& sample) {
    PatternPreview p;
    p.group = group;
    const QRegularExpression re = config::compilePattern(pattern);
    if (!re.isValid()) {
        p.outcome = Outcome::DoesNotCompile;
        p.text = re.errorString();
        // The offset counts the line-rule prefix that compilePattern puts in front.
        const qsizetype prefix = config::compilePattern(QString()).pattern().size();
        p.offset = std::max<qsizetype>(0, re.patternErrorOffset() - prefix);
        return p;
    }
    if (sample.isEmpty()) {
        p.outcome = Outcome::NoSample;
        return p;
    }
    const QRegularExpressionMatch m = re.match(sample);
    // A match that ended in an engine error (match limit, depth limit, JIT stack) is not valid;
    // without an error a match is valid whether or not it found something.
    if (!m.isValid()) {
        p.outcome = Outcome::MatchAborted;
        return p;
    }
    if (!m.hasMatch()) {
        p.outcome = Outcome::NoMatch;
        return p;
    }
    if (group < 0 || group > re.captureCount()) {
        p.outcome = Outcome::NoSuchGroup;
        return p;
    }
    if (m.capturedStart(group) < 0) {
        p.outcome = Outcome::GroupNotTaken;
        return p;
    }
    p.outcome = Outcome::Captured;
    p.text = m.captured(group);
    return p;
}

} // namespace serwedge
