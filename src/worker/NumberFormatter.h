#pragma once

#include "config/ConfigHelper.h"
#include "config/Decimal.h"

#include <QChar>
#include <QString>

#include <optional>

namespace serwedge::config {
class Config;
}

namespace serwedge::worker {

// Turns an extracted value into the number that is typed: sign handling, an optional
// multiplication or division, rounding to a number of decimal places, the decimal separator.
class NumberFormatter {
public:
    using MathOperation = config::ConfigHelper::MathOperation;
    using DecimalSeparator = config::ConfigHelper::DecimalSeparator;

    // Reads the settings once: rounding when roundingEnabled(), math when
    // mathOperationEnabled(), and the separator. Throws config::NumberFormatError when an
    // enabled math operand is not a number (settings are checked before they get here).
    explicit NumberFormatter(const config::Config& config);
    // roundingPrecision: decimal places to round to, none = no rounding. mathOperation is
    // ignored without an operand; a division needs a rounding precision.
    NumberFormatter(DecimalSeparator separator, std::optional<int> roundingPrecision,
                    config::RoundingMode roundingMode, MathOperation mathOperation,
                    std::optional<config::Decimal> mathOperand);

    // The formatted number. Throws ValueFormatError when the value is not a decimal number
    // after sign handling, CalculationError for a division by zero or an oversized result.
    QString format(const QString& value) const;

    bool roundingEnabled() const { return roundingEnabled_; }
    bool mathEnabled() const { return mathEnabled_; }

private:
    std::optional<int> roundingPrecision_;
    config::RoundingMode roundingMode_ = config::RoundingMode::HALF_UP;
    MathOperation mathOperation_ = MathOperation::NONE;
    std::optional<config::Decimal> mathOperand_;
    QChar separator_;
    bool roundingEnabled_ = false;
    bool mathEnabled_ = false;
};

} // namespace serwedge::worker
