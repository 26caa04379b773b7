#pragma once

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace serwedge::config {

// Base of the option enumerations: a constant with an identifier (its stored form) and a
// position. D provides `enum Value`, `kNames` (identifiers in declaration order) and a
// constructor from Value.
template <class D> class Enumeration {
public:
    constexpr int ordinal() const noexcept { return ord_; }
    QString name() const { return QLatin1String(D::kNames[static_cast<std::size_t>(ord_)]); }

    static constexpr int count() noexcept { return static_cast<int>(D::kNames.size()); }

    static std::vector<D> values() {
        std::vector<D> all;
        all.reserve(D::kNames.size());
        for (int i = 0; i < count(); ++i)
            all.push_back(D(static_cast<typename D::Value>(i)));
        return all;
    }

    // The constant whose identifier equals the text exactly (case-sensitive).
    static std::optional<D> valueOf(const QString& text) {
        for (int i = 0; i < count(); ++i) {
            if (text == QLatin1String(D::kNames[static_cast<std::size_t>(i)]))
                return D(static_cast<typename D::Value>(i));
        }
        return std::nullopt;
    }

    static bool valid(const QString& text) { return valueOf(text).has_value(); }

protected:
    constexpr explicit Enumeration(int ordinal) noexcept : ord_(ordinal) {}

private:
    int ord_;
};

} // namespace serwedge::config
