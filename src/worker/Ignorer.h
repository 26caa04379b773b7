#pragma once

#include "config/Decimal.h"
#include "worker/DataLine.h"

#include <optional>

namespace serwedge::config {
class Config;
}

namespace serwedge::worker {

// Duplicate suppression: a value that repeats the previous one (within a time limit and a
// tolerance) is taken out of its line, so that nothing is typed or sounded for it. One Ignorer
// lives from one start of reading to the next.
class Ignorer {
public:
    // Time limit from ignoreTimeLimit (0 when not an integer), tolerance from ignoreDifference
    // (0 when not a number, and always 0 for text presets, whose values are compared as text).
    explicit Ignorer(const config::Config& config);
    // timeLimitMs 0 = no limit; difference 0 = values must be equal text.
    Ignorer(int timeLimitMs, config::Decimal difference);

    // Suppresses the line's value when it repeats the previous value; lines without a value
    // pass unchanged. Throws std::invalid_argument for a missing line.
    void process(DataLine* line);
    void process(DataLine& line) { process(&line); }

    // Within the time limit of the previous value (inclusive). Needs a previous value.
    bool inTime(const DataLine& line) const;
    // Equal to the previous value, or within the tolerance of it (inclusive). Needs a previous
    // value. A value that is not a number is never within a numeric tolerance.
    bool inTolerance(const DataLine& line) const;

    int timeLimit() const { return timeLimit_; }
    const config::Decimal& difference() const { return difference_; }

private:
    std::optional<DataLine> lastData_;
    int timeLimit_;
    config::Decimal difference_;
};

} // namespace serwedge::worker
