#pragma once

#include "config/Instrument.h"
#include "worker/DataLine.h"
#include "worker/Extractor.h"
#include "worker/ValueChain.h"

#include <QRegularExpression>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace serwedge::config {
class Config;
}

namespace serwedge::worker {

// The kind a preset's status table gives a received line: the first status pattern that
// matches anywhere in the line (terminator included), none when no pattern matches.
class StatusClassifier {
public:
    // Throws PatternError when a status pattern does not compile.
    explicit StatusClassifier(const config::ConfigHelper::Instrument& instrument);

    std::optional<config::ConfigHelper::StatusKind> classify(const QString& line) const;
    // True when some pattern can mark a line as not stable.
    bool knowsStability() const;

private:
    std::vector<std::pair<QRegularExpression, config::ConfigHelper::StatusKind>> patterns_;
};

// Makes one DataLine of each terminated line: the status the instrument's words give it, then,
// unless that status withholds the value, the value the pattern finds and the chain transforms.
class LineProcessor {
public:
    // Reads every parameter once. Throws PatternError for a pattern that does not compile and
    // config::NumberFormatError for an enabled math operand that is not a number.
    LineProcessor(const config::Config& config, bool textWorker);

    // The line with its number and transmission-error flag. Throws a LineError when the line
    // cannot be processed.
    DataLine process(const QString& raw, int count, bool error) const;

    const StatusClassifier& statuses() const { return statuses_; }
    bool stableOnly() const { return stableOnly_; }

private:
    StatusClassifier statuses_;
    Extractor extractor_;
    ValueChain chain_;
    bool stableOnly_;
};

} // namespace serwedge::worker
