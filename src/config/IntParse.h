#pragma once

#include <QString>

#include <limits>
#include <optional>

namespace serwedge::config {

// A decimal integer as settings accept it: an optional leading "+" or "-", then ASCII digits,
// no blanks, within 32-bit range. Anything else is not a decimal integer.
inline std::optional<int> parseDecimalInt(const QString& text) noexcept {
    const qsizetype n = text.size();
    if (n == 0)
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (text[0] == QLatin1Char('+') || text[0] == QLatin1Char('-')) {
        negative = text[0] == QLatin1Char('-');
        i = 1;
        if (n == 1)
            return std::nullopt;
    }
    long long value = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace serwedge::config
