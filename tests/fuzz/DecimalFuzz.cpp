// Decimal parsing and arithmetic on arbitrary texts.
//
// Input: a scale byte, a rounding-mode byte, then two texts separated by a zero byte.
// Checks: parse and tryParse agree; printing and parsing again gives the same number; the
// arithmetic either keeps its identities or refuses with ArithmeticError; zero has no sign.

#include "FuzzSupport.h"

#include "config/Decimal.h"

#include <algorithm>
#include <optional>

using serwedge::config::ArithmeticError;
using serwedge::config::Decimal;
using serwedge::config::NumberFormatError;
using serwedge::config::RoundingMode;

namespace {

std::optional<Decimal> parseBoth(const QString& text) {
    const std::optional<Decimal> tried = Decimal::tryParse(text);
    try {
        const Decimal parsed = Decimal::parse(text);
        fuzz::check(tried.has_value() && tried->equals(parsed), "parse and tryParse agree", text);
    } catch (const NumberFormatError&) {
        fuzz::check(!tried.has_value(), "parse and tryParse agree", text);
    }
    return tried;
}

void checkPrinting(const Decimal& d, const QString& source) {
    const QString plain = d.toPlainString();
    fuzz::check(!plain.contains(u'E') && !plain.contains(u'e'), "plain printing", plain);
    if (d.signum() == 0)
        fuzz::check(!plain.startsWith(u'-'), "zero carries no sign", source);
    // Parsing and printing share one bound: every number, parsed or computed, reads back.
    const auto digits =
        std::count_if(plain.begin(), plain.end(), [](QChar c) { return c.isDigit(); });
    fuzz::check(digits <= Decimal::kMaxDigits, "printing keeps the digit bound", plain);
    const std::optional<Decimal> again = Decimal::tryParse(plain);
    fuzz::check(again.has_value(), "printed number parses", plain);
    fuzz::check(again->compareTo(d) == 0, "printed number keeps its value", source);
    if (d.scale() >= 0)
        fuzz::check(again->equals(d), "printed number keeps its scale", source);
    const QString comma = d.toPlainString(u',');
    fuzz::check(QString(comma).replace(u',', u'.') == plain, "separator is the only difference",
                comma);
}

template <class F> std::optional<Decimal> arithmetic(F&& f) {
    try {
        return f();
    } catch (const ArithmeticError&) {
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const int scale = static_cast<int>(in.byte() % 48) - 8;
    const auto mode = static_cast<RoundingMode>(in.pick(7));
    const QString textA = QString::fromLatin1(in.until('\0'));
    const QString textB = QString::fromLatin1(in.rest());

    const std::optional<Decimal> a = parseBoth(textA);
    const std::optional<Decimal> b = parseBoth(textB);
    if (a)
        checkPrinting(*a, textA);
    if (!a || !b)
        return 0;

    fuzz::check(a->compareTo(*b) == -b->compareTo(*a), "comparison is antisymmetric", textA);
    if (const auto sum = arithmetic([&] { return a->add(*b); })) {
        checkPrinting(*sum, textA + " + " + textB);
        if (const auto back = arithmetic([&] { return sum->subtract(*b); }))
            fuzz::check(back->compareTo(*a) == 0, "a + b - b == a", textA + " " + textB);
    }
    if (const auto product = arithmetic([&] { return a->multiply(*b); })) {
        fuzz::check(product->scale() == a->scale() + b->scale(), "product scale is the sum",
                    textA + " * " + textB);
        fuzz::check(product->signum() == a->signum() * b->signum(), "product sign",
                    textA + " * " + textB);
        checkPrinting(*product, textA + " * " + textB);
    }
    try {
        const Decimal quotient = a->divide(*b, scale, mode);
        fuzz::check(b->signum() != 0, "division by zero refused", textA);
        fuzz::check(quotient.scale() == scale, "quotient has the asked scale", textA);
        checkPrinting(quotient, textA + " / " + textB);
    } catch (const ArithmeticError&) {
    }
    if (const auto scaled = arithmetic([&] { return a->setScale(scale, mode); })) {
        fuzz::check(scaled->scale() == scale, "setScale gives the scale", textA);
        checkPrinting(*scaled, textA);
        if (scale >= a->scale()) {
            fuzz::check(scaled->compareTo(*a) == 0, "growing the scale is exact", textA);
            const auto back = arithmetic([&] { return scaled->setScale(a->scale(), mode); });
            fuzz::check(back && back->equals(*a), "shrinking back restores", textA);
        }
    }
    return 0;
}
