#pragma once

#include "config/RoundingMode.h"

#include <QChar>
#include <QString>

#include <gmpxx.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace serwedge::config {

// A text that is not a decimal number, or one beyond the parsing bounds.
class NumberFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failed computation: division by zero, or a result beyond the arithmetic bounds.
class ArithmeticError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An arbitrary-precision decimal number: value = unscaled × 10^-scale.
//
// The scale is part of the value as far as printing and equals() go (2.0 and 2.00 differ), but
// not for compareTo(). Zero has no sign.
//
// Sizes are bounded on purpose, so that a hostile or broken instrument line can neither hang
// the reader nor exhaust memory. One bound serves parsing and printing: a text of more than
// kMaxDigits digits is refused, and so is every number, parsed or computed, whose plain
// printing would have more than kMaxDigits digits or whose scale lies beyond ±kMaxDigits
// (ArithmeticError for results). So every printed Decimal can be parsed back.
class Decimal {
public:
    static constexpr int kMaxDigits = 1000;

    // Zero with scale 0.
    Decimal() = default;
    // unscaled × 10^-scale; ArithmeticError beyond the bounds.
    explicit Decimal(long unscaled, std::int32_t scale = 0);

    // Standard decimal-string syntax: optional sign, digits with an optional point and fraction
    // (at least one digit), optional exponent "e"/"E" with optional sign. No blanks, ASCII
    // digits only. "1.50" has scale 2, "1E3" scale -3.
    static Decimal parse(const QString& text);
    static std::optional<Decimal> tryParse(const QString& text) noexcept;

    Decimal add(const Decimal& other) const;
    Decimal subtract(const Decimal& other) const;
    // Exact; the scale is the sum of the two scales.
    Decimal multiply(const Decimal& other) const;
    // this ÷ divisor with exactly `scale` decimals, rounded with `mode`. ArithmeticError
    // "Division by zero" for a zero divisor.
    Decimal divide(const Decimal& divisor, std::int32_t scale, RoundingMode mode) const;
    // The same value with the new scale; exact when the scale grows, rounded with `mode` when
    // it shrinks.
    Decimal setScale(std::int32_t newScale, RoundingMode mode) const;

    Decimal abs() const;
    Decimal negate() const;
    int signum() const { return sgn(unscaled_); }
    std::int32_t scale() const { return scale_; }
    // Number of decimal digits of the unscaled value (1 for zero).
    int precision() const;
    QString unscaledValue() const;

    // -1, 0 or 1 by numeric value; the scale does not matter (2.0 equals 2.00 here).
    int compareTo(const Decimal& other) const;
    // Same unscaled value and same scale.
    bool equals(const Decimal& other) const {
        return scale_ == other.scale_ && unscaled_ == other.unscaled_;
    }
    friend bool operator==(const Decimal& a, const Decimal& b) { return a.equals(b); }

    // Without exponent: "-12.50", "0.001", 1E3 as "1000".
    QString toPlainString() const { return toPlainString(QChar(u'.')); }
    QString toPlainString(QChar decimalSeparator) const;

private:
    enum class ParseStatus { Ok, Syntax, TooManyDigits, ExponentRange };

    Decimal(mpz_class unscaled, std::int32_t scale)
        : unscaled_(std::move(unscaled)), scale_(scale) {}
    // A result of arithmetic, after checking it against the bounds.
    static Decimal checked(mpz_class unscaled, std::int64_t scale);
    static ParseStatus parseInto(const QString& text, Decimal& out) noexcept;

    mpz_class unscaled_;
    std::int32_t scale_ = 0;
};

} // namespace serwedge::config
