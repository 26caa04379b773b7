#include "config/Decimal.h"

#include <array>
#include <climits>

namespace serwedge::config {

namespace {

// Texts quoted in messages are cut to this many characters.
constexpr qsizetype kExcerptLength = 40;

QString excerpt(const QString& text) {
    if (text.size() <= kExcerptLength) {
        return text;
    }
    return text.left(kExcerptLength) + QStringLiteral("...");
}

// 10^n; the small powers the chain uses on every line come from a table.
const mpz_class& smallPowerOfTen(unsigned n) {
    static const std::array<mpz_class, 64> table = [] {
        std::array<mpz_class, 64> t;
        t[0] = 1;
        for (std::size_t i = 1; i < t.size(); ++i) {
            t[i] = t[i - 1] * 10;
        }
        return t;
    }();
    return table[n];
}

mpz_class powerOfTen(std::int64_t n) {
    if (n < 64) {
        return smallPowerOfTen(static_cast<unsigned>(n));
    }
    mpz_class result;
    mpz_ui_pow_ui(result.get_mpz_t(), 10, static_cast<unsigned long>(n));
    return result;
}

void multiplyByPowerOfTen(mpz_class& value, std::int64_t n) {
    if (n > 0 && sgn(value) != 0) {
        value *= powerOfTen(n);
    }
}

int digitCount(const mpz_class& value) {
    if (sgn(value) == 0) {
        return 1;
    }
    // mpz_sizeinbase is exact or one too large.
    const std::size_t n = mpz_sizeinbase(value.get_mpz_t(), 10);
    if (n > 1 && mpz_cmpabs(value.get_mpz_t(),
                            powerOfTen(static_cast<std::int64_t>(n) - 1).get_mpz_t()) < 0) {
        return static_cast<int>(n - 1);
    }
    return static_cast<int>(n);
}

// numerator ÷ denominator as an integer rounded with mode; denominator is not zero.
mpz_class divideRounded(const mpz_class& numerator, const mpz_class& denominator,
                        RoundingMode mode) {
    mpz_class quotient;
    mpz_class remainder;
    mpz_tdiv_qr(quotient.get_mpz_t(), remainder.get_mpz_t(), numerator.get_mpz_t(),
                denominator.get_mpz_t());
    if (sgn(remainder) == 0) {
        return quotient;
    }
    // The exact quotient lies strictly between quotient and quotient + sign.
    const int sign = sgn(numerator) * sgn(denominator);
    bool awayFromZero = false;
    switch (mode) {
    case RoundingMode::UP:
        awayFromZero = true;
        break;
    case RoundingMode::DOWN:
        awayFromZero = false;
        break;
    case RoundingMode::CEILING:
        awayFromZero = sign > 0;
        break;
    case RoundingMode::FLOOR:
        awayFromZero = sign < 0;
        break;
    case RoundingMode::HALF_UP:
    case RoundingMode::HALF_DOWN:
    case RoundingMode::HALF_EVEN: {
        mpz_class twice = remainder;
        twice *= 2;
        const int half = mpz_cmpabs(twice.get_mpz_t(), denominator.get_mpz_t());
        if (mode == RoundingMode::HALF_UP) {
            awayFromZero = half >= 0;
        } else if (mode == RoundingMode::HALF_DOWN) {
            awayFromZero = half > 0;
        } else {
            awayFromZero = half > 0 || (half == 0 && mpz_odd_p(quotient.get_mpz_t()));
        }
        break;
    }
    }
    if (awayFromZero) {
        if (sign > 0) {
            quotient += 1;
        } else {
            quotient -= 1;
        }
    }
    return quotient;
}

void checkRequestedScale(std::int64_t scale) {
    if (scale > Decimal::kMaxDigits || scale < -Decimal::kMaxDigits) {
        throw ArithmeticError("Scale " + std::to_string(scale) + " out of range (beyond ±" +
                              std::to_string(Decimal::kMaxDigits) + ")");
    }
}

// Digits of the plain printing of a number whose unscaled value has `digits` digits (1 for
// zero): "0.005" (5, scale 3) has 4, "1200" (12, scale -2) has 4, zero with a negative scale
// prints as "0". It never falls when `digits` grows.
std::int64_t plainDigits(std::int64_t digits, bool zero, std::int64_t scale) {
    if (scale <= 0)
        return zero ? 1 : digits - scale;
    return digits > scale ? digits : scale + 1;
}

// True when the plain printing of unscaled × 10^-scale keeps within the digit bound.
bool printsWithinBound(const mpz_class& unscaled, std::int64_t scale) {
    const bool zero = sgn(unscaled) == 0;
    // mpz_sizeinbase is exact or one too large: the exact count only when that matters.
    const auto upper =
        zero ? 1 : static_cast<std::int64_t>(mpz_sizeinbase(unscaled.get_mpz_t(), 10));
    if (plainDigits(upper, zero, scale) <= Decimal::kMaxDigits)
        return true;
    return plainDigits(digitCount(unscaled), zero, scale) <= Decimal::kMaxDigits;
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

Decimal::Decimal(long unscaled, std::int32_t scale) : unscaled_(unscaled), scale_(scale) {
    checkRequestedScale(scale);
    if (!printsWithinBound(unscaled_, scale)) {
        throw ArithmeticError("Number has more than " + std::to_string(kMaxDigits) +
                              " digits written out");
    }
}

Decimal Decimal::checked(mpz_class unscaled, std::int64_t scale) {
    if (scale > kMaxDigits || scale < -kMaxDigits) {
        throw ArithmeticError("Result scale " + std::to_string(scale) + " out of range (beyond ±" +
                              std::to_string(kMaxDigits) + ")");
    }
    if (!printsWithinBound(unscaled, scale)) {
        throw ArithmeticError("Result has more than " + std::to_string(kMaxDigits) +
                              " digits written out");
    }
    return Decimal(std::move(unscaled), static_cast<std::int32_t>(scale));
}

Decimal::ParseStatus Decimal::parseInto(const QString& text, Decimal& out) noexcept {
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Mantissa: digits, optional point, digits; at least one digit in all.
    const qsizetype mantissaStart = i;
    qsizetype digits = 0;
    qsizetype leadingZeros = 0; // before the first digit that is not 0, across the point
    qsizetype fractionDigits = 0;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isAsciiDigit(c)) {
            if (c == u'0' && leadingZeros == digits) {
                ++leadingZeros;
            }
            ++digits;
            if (point) {
                ++fractionDigits;
            }
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    const qsizetype mantissaEnd = i;
    if (digits == 0) {
        return ParseStatus::Syntax;
    }
    // Exponent: e or E, optional sign, at least one digit, within 32-bit range.
    std::int64_t exponent = 0;
    bool exponentOverflow = false;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        const qsizetype exponentStart = i;
        for (; i < n && isAsciiDigit(text[i]); ++i) {
            if (!exponentOverflow) {
                exponent = exponent * 10 + (text[i].unicode() - u'0');
                exponentOverflow = exponent > static_cast<std::int64_t>(INT32_MAX) + 1;
            }
        }
        if (i == exponentStart) {
            return ParseStatus::Syntax;
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
        exponentOverflow = exponentOverflow || exponent > INT32_MAX;
    }
    if (i != n) {
        return ParseStatus::Syntax;
    }
    if (digits > kMaxDigits) {
        return ParseStatus::TooManyDigits;
    }
    const std::int64_t scale = static_cast<std::int64_t>(fractionDigits) - exponent;
    if (exponentOverflow || scale > kMaxDigits || scale < -kMaxDigits) {
        return ParseStatus::ExponentRange;
    }
    // What the exponent adds when the number is written out counts against the same bound.
    const bool zero = leadingZeros == digits;
    if (plainDigits(zero ? 1 : digits - leadingZeros, zero, scale) > kMaxDigits) {
        return ParseStatus::ExponentRange;
    }

    // Short mantissas (the usual case) are built without a string.
    mpz_class unscaled;
    if (digits <= 18) {
        std::uint64_t value = 0;
        for (qsizetype k = mantissaStart; k < mantissaEnd; ++k) {
            if (text[k] != u'.') {
                value = value * 10 + (text[k].unicode() - u'0');
            }
        }
        if (value <= ULONG_MAX) {
            unscaled = static_cast<unsigned long>(value);
        } else {
            unscaled.set_str(std::to_string(value), 10);
        }
    } else {
        std::string buffer;
        buffer.reserve(static_cast<std::size_t>(digits));
        for (qsizetype k = mantissaStart; k < mantissaEnd; ++k) {
            if (text[k] != u'.') {
                buffer.push_back(static_cast<char>(text[k].unicode()));
            }
        }
        unscaled.set_str(buffer, 10);
    }
    if (negative) {
        unscaled = -unscaled;
    }
    out = Decimal(std::move(unscaled), static_cast<std::int32_t>(scale));
    return ParseStatus::Ok;
}

Decimal Decimal::parse(const QString& text) {
    Decimal result;
    switch (parseInto(text, result)) {
    case ParseStatus::Ok:
        return result;
    case ParseStatus::Syntax:
        break;
    case ParseStatus::TooManyDigits:
        throw NumberFormatError(QStringLiteral("Decimal number has more than %1 digits: \"%2\"")
                                    .arg(kMaxDigits)
                                    .arg(excerpt(text))
                                    .toStdString());
    case ParseStatus::ExponentRange:
        throw NumberFormatError(
            QStringLiteral("Decimal exponent out of range (more than %1 digits written out): "
                           "\"%2\"")
                .arg(kMaxDigits)
                .arg(excerpt(text))
                .toStdString());
    }
    throw NumberFormatError(
        QStringLiteral("Not a decimal number: \"%1\"").arg(excerpt(text)).toStdString());
}

std::optional<Decimal> Decimal::tryParse(const QString& text) noexcept {
    Decimal result;
    if (parseInto(text, result) != ParseStatus::Ok) {
        return std::nullopt;
    }
    return result;
}

Decimal Decimal::add(const Decimal& other) const {
    if (scale_ == other.scale_) {
        return checked(unscaled_ + other.unscaled_, scale_);
    }
    if (scale_ < other.scale_) {
        mpz_class aligned = unscaled_;
        multiplyByPowerOfTen(aligned, std::int64_t{other.scale_} - scale_);
        return checked(aligned + other.unscaled_, other.scale_);
    }
    mpz_class aligned = other.unscaled_;
    multiplyByPowerOfTen(aligned, std::int64_t{scale_} - other.scale_);
    return checked(unscaled_ + aligned, scale_);
}

Decimal Decimal::subtract(const Decimal& other) const {
    return add(other.negate());
}

Decimal Decimal::multiply(const Decimal& other) const {
    return checked(unscaled_ * other.unscaled_, std::int64_t{scale_} + other.scale_);
}

Decimal Decimal::divide(const Decimal& divisor, std::int32_t scale, RoundingMode mode) const {
    if (sgn(divisor.unscaled_) == 0) {
        throw ArithmeticError("Division by zero");
    }
    checkRequestedScale(scale);
    // a·10^-sa ÷ (b·10^-sb) = q·10^-scale  ⇔  q = a·10^(scale-sa+sb) ÷ b
    const std::int64_t shift = std::int64_t{scale} - scale_ + divisor.scale_;
    mpz_class numerator = unscaled_;
    mpz_class denominator = divisor.unscaled_;
    if (shift >= 0) {
        multiplyByPowerOfTen(numerator, shift);
    } else {
        multiplyByPowerOfTen(denominator, -shift);
    }
    return checked(divideRounded(numerator, denominator, mode), scale);
}

Decimal Decimal::setScale(std::int32_t newScale, RoundingMode mode) const {
    checkRequestedScale(newScale);
    if (newScale == scale_) {
        return *this;
    }
    if (newScale > scale_) {
        mpz_class widened = unscaled_;
        multiplyByPowerOfTen(widened, std::int64_t{newScale} - scale_);
        return checked(std::move(widened), newScale);
    }
    return checked(divideRounded(unscaled_, powerOfTen(std::int64_t{scale_} - newScale), mode),
                   newScale);
}

Decimal Decimal::abs() const {
    return Decimal(mpz_class(::abs(unscaled_)), scale_);
}

Decimal Decimal::negate() const {
    return Decimal(mpz_class(-unscaled_), scale_);
}

int Decimal::precision() const {
    return digitCount(unscaled_);
}

QString Decimal::unscaledValue() const {
    return QString::fromStdString(unscaled_.get_str(10));
}

int Decimal::compareTo(const Decimal& other) const {
    const int a = sgn(unscaled_);
    const int b = sgn(other.unscaled_);
    if (a != b || a == 0) {
        return a < b ? -1 : (a > b ? 1 : 0);
    }
    int result = 0;
    if (scale_ == other.scale_) {
        result = cmp(unscaled_, other.unscaled_);
    } else if (scale_ < other.scale_) {
        mpz_class aligned = unscaled_;
        multiplyByPowerOfTen(aligned, std::int64_t{other.scale_} - scale_);
        result = cmp(aligned, other.unscaled_);
    } else {
        mpz_class aligned = other.unscaled_;
        multiplyByPowerOfTen(aligned, std::int64_t{scale_} - other.scale_);
        result = cmp(unscaled_, aligned);
    }
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

QString Decimal::toPlainString(QChar decimalSeparator) const {
    const int sign = sgn(unscaled_);
    if (sign == 0 && scale_ <= 0) {
        return QStringLiteral("0");
    }
    // Digits of the magnitude; the sign is added separately so that zero never carries one.
    std::string digits;
    if (mpz_fits_slong_p(unscaled_.get_mpz_t())) {
        const long value = unscaled_.get_si();
        digits = std::to_string(value < 0 ? 0UL - static_cast<unsigned long>(value)
                                          : static_cast<unsigned long>(value));
    } else {
        digits = mpz_class(::abs(unscaled_)).get_str(10);
    }
    const auto length = static_cast<qsizetype>(digits.size());
    QString result;
    result.reserve(length + (scale_ > 0 ? scale_ + 3 : -scale_ + 1));
    if (sign < 0) {
        result += u'-';
    }
    if (scale_ <= 0) {
        result += QLatin1String(digits.data(), length);
        result += QString(-scale_, u'0');
        return result;
    }
    if (length > scale_) {
        result += QLatin1String(digits.data(), length - scale_);
        result += decimalSeparator;
        result += QLatin1String(digits.data() + (length - scale_), scale_);
    } else {
        result += u'0';
        result += decimalSeparator;
        result += QString(scale_ - length, u'0');
        result += QLatin1String(digits.data(), length);
    }
    return result;
}

} // namespace serwedge::config
