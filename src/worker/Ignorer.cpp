#include "worker/Ignorer.h"

#include "config/Config.h"
#include "config/IntParse.h"

#include <stdexcept>

namespace serwedge::worker {

using config::Decimal;
using config::ConfigHelper::Instrument;
using config::ConfigHelper::InstrumentType;

namespace {

Decimal differenceOf(const config::Config& config) {
    const Instrument instrument = config.getInstrument().value_or(Instrument::getDefault());
    if (instrument.getInstrumentType() == InstrumentType::TEXT) {
        return Decimal();
    }
    return Decimal::tryParse(config.getIgnoreDifference()).value_or(Decimal());
}

std::optional<Decimal> numberOf(QString text) {
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return Decimal::tryParse(text);
}

} // namespace

Ignorer::Ignorer(const config::Config& config)
    : Ignorer(config::parseDecimalInt(config.getIgnoreTimeLimit()).value_or(0),
              differenceOf(config)) {}

Ignorer::Ignorer(int timeLimitMs, Decimal difference)
    : timeLimit_(timeLimitMs), difference_(std::move(difference)) {}

void Ignorer::process(DataLine* line) {
    if (line == nullptr) {
        throw std::invalid_argument("Ignorer::process needs a line");
    }
    if (!line->hasValue()) {
        return;
    }
    DataLine copy = line->copy();
    if (lastData_ && inTime(*line) && inTolerance(*line)) {
        line->deleteProcessedData();
    }
    // Always compared with the immediately preceding value, suppressed or not.
    lastData_ = std::move(copy);
}

bool Ignorer::inTime(const DataLine& line) const {
    if (timeLimit_ == 0 || !lastData_) {
        return true;
    }
    return lastData_->getInstant().msecsTo(line.getInstant()) <= timeLimit_;
}

bool Ignorer::inTolerance(const DataLine& line) const {
    if (!lastData_) {
        return false;
    }
    if (difference_.signum() == 0) {
        return line.getProcessedData() == lastData_->getProcessedData();
    }
    const std::optional<Decimal> current = numberOf(line.getProcessedData());
    const std::optional<Decimal> previous = numberOf(lastData_->getProcessedData());
    if (!current || !previous) {
        return false;
    }
    try {
        return current->subtract(*previous).abs().compareTo(difference_) <= 0;
    } catch (const config::ArithmeticError&) {
        return false; // a difference too large to compute is not within any tolerance
    }
}

} // namespace serwedge::worker
