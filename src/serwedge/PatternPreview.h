#pragma once

#include <QString>

namespace serwedge {

// What an extraction pattern makes of one sample line, as the reading worker would see it: the
// first match anywhere in the line and the text of the capture group.
struct PatternPreview {
    enum class Outcome {
        NoSample,       // the sample is empty: nothing to try
        Captured,       // text holds the captured value
        NoMatch,        // the pattern finds nothing in the line
        DoesNotCompile, // text holds the engine's reason, offset the position in the pattern
        NoSuchGroup,    // the pattern has fewer capture groups than group
        GroupNotTaken,  // the match left the capture group out
        MatchAborted,   // the engine gave up: match or depth limit hit (catastrophic pattern)
    };
    Outcome outcome = Outcome::NoSample;
    QString text;
    qsizetype offset = -1;
    int group = 0;

    // Tries the pattern (with the worker's line rules) on the sample. Never hangs: a pattern
    // that backtracks without end is stopped by the engine's match limit and answered with
    // MatchAborted.
    static PatternPreview run(const QString& pattern, int group, const QString& sample);
};

} // namespace serwedge
