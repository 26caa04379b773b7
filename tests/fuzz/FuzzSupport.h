#pragma once

// Small helpers shared by the fuzz targets: taking choices and texts off the front of the input,
// and a check that stops the run (so that libFuzzer records the input) when an invariant fails.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

// Reads the fuzzer's bytes from the front: single-byte choices, then texts cut at a separator.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // The next byte, or 0 when the input is used up.
    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    // An index below n chosen by the next byte.
    std::size_t pick(std::size_t n) { return n == 0 ? 0 : byte() % n; }
    // The bytes up to the next separator (not included), or up to the end.
    QByteArray until(char separator) {
        const std::size_t start = pos_;
        while (pos_ < size_ && data_[pos_] != static_cast<std::uint8_t>(separator))
            ++pos_;
        const QByteArray part(reinterpret_cast<const char*>(data_ + start),
                              static_cast<qsizetype>(pos_ - start));
        if (pos_ < size_)
            ++pos_; // the separator
        return part;
    }
    QByteArray rest() {
        const QByteArray part(reinterpret_cast<const char*>(data_ + pos_),
                              static_cast<qsizetype>(size_ - pos_));
        pos_ = size_;
        return part;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

[[noreturn]] inline void fail(const char* what, const QString& detail) {
    std::fprintf(stderr, "invariant broken: %s: %s\n", what, detail.toUtf8().constData());
    std::abort();
}

inline void check(bool condition, const char* what, const QString& detail = {}) {
    if (!condition)
        fail(what, detail);
}

} // namespace fuzz
