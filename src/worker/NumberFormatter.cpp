#include "worker/NumberFormatter.h"

#include "config/Config.h"
#include "worker/LineError.h"

namespace serwedge::worker {

using config::ArithmeticError;
using config::Decimal;
using config::NumberFormatError;
using config::RoundingMode;

namespace {

std::optional<int> precisionOf(const config::Config& config) {
    if (!config.roundingEnabled()) {
        return std::nullopt;
    }
    return config.getDecimalPlacesAsInt();
}

std::optional<Decimal> operandOf(const config::Config& config) {
    if (!config.mathOperationEnabled()) {
        return std::nullopt;
    }
    return config.getMathOperandAsBigDecimal();
}

// Like trimming a text of every character up to the blank (control characters included).
QString trimControls(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32) {
        ++begin;
    }
    while (end > begin && text[end - 1].unicode() <= 32) {
        --end;
    }
    return text.mid(begin, end - begin);
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + (text.size() > 40 ? text.left(40) + QStringLiteral("...") : text) +
           QLatin1Char('"');
}

} // namespace

NumberFormatter::NumberFormatter(const config::Config& config)
    : NumberFormatter(config.getDecimalSeparator(), precisionOf(config),
                      config.getRoundingMethod().getRoundingMode(), config.getMathOperation(),
                      operandOf(config)) {}

NumberFormatter::NumberFormatter(DecimalSeparator separator, std::optional<int> roundingPrecision,
                                 RoundingMode roundingMode, MathOperation mathOperation,
                                 std::optional<Decimal> mathOperand)
    : roundingPrecision_(roundingPrecision), roundingMode_(roundingMode),
      mathOperation_(mathOperation), mathOperand_(std::move(mathOperand)),
      separator_(separator.separator()), roundingEnabled_(roundingPrecision.has_value()) {
    mathEnabled_ =
        mathOperand_.has_value() && (mathOperation_ == MathOperation::MULTIPLY ||
                                     (mathOperation_ == MathOperation::DIVIDE && roundingEnabled_));
}

QString NumberFormatter::format(const QString& value) const {
    // A comma is read as the decimal point.
    QString text = value;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    // A minus anywhere makes the number negative: what follows the first one is the number,
    // what comes before it is dropped.
    const qsizetype minus = text.indexOf(QLatin1Char('-'));
    if (minus >= 0) {
        text = QLatin1Char('-') + trimControls(text.mid(minus + 1));
    }

    Decimal number;
    try {
        number = Decimal::parse(text);
    } catch (const NumberFormatError& e) {
        const QString reason = QString::fromStdString(e.what());
        throw ValueFormatError(text == value ? reason
                                             : reason + QStringLiteral(" (from the value ") +
                                                   quoted(value) + QLatin1Char(')'));
    }

    try {
        if (mathEnabled_) {
            if (mathOperation_ == MathOperation::MULTIPLY) {
                number = number.multiply(*mathOperand_);
            } else {
                number = number.divide(*mathOperand_, *roundingPrecision_, roundingMode_);
            }
        }
        if (roundingEnabled_ && number.scale() >= 1 && number.scale() > *roundingPrecision_) {
            number = number.setScale(*roundingPrecision_, roundingMode_);
        }
    } catch (const ArithmeticError& e) {
        throw CalculationError(QString::fromStdString(e.what()) + QStringLiteral(" (value ") +
                               quoted(value) + QLatin1Char(')'));
    }
    return number.toPlainString(separator_);
}

} // namespace serwedge::worker
