#include "worker/LineSplitter.h"

#include <cstring>

namespace serwedge::worker {

LineSplitter::LineSplitter(int terminator, qsizetype maxLength)
    : terminator_(terminator), maxLength_(static_cast<std::size_t>(maxLength)) {}

void LineSplitter::feed(const std::uint8_t* data, std::size_t count, bool lastByteError,
                        Sink& sink) {
    const std::uint8_t* p = data;
    const std::uint8_t* const end = data + count;
    const bool terminates = terminator_ >= 0 && terminator_ <= 255;
    while (p < end) {
        const auto* t = terminates ? static_cast<const std::uint8_t*>(std::memchr(
                                         p, terminator_, static_cast<std::size_t>(end - p)))
                                   : nullptr;
        const std::uint8_t* const next = t ? t + 1 : end;
        const std::size_t length = static_cast<std::size_t>(next - p);
        const bool error = lastByteError && next == end;
        if (discarding_) {
            // The rest of an overlong line, up to its terminator, goes too.
            discarding_ = t == nullptr;
            p = next;
            continue;
        }
        // The cap counts the bytes before the terminator.
        if (pending_.size() + length - (t ? 1 : 0) > maxLength_) {
            pending_.clear();
            pendingError_ = false;
            discarding_ = t == nullptr;
            sink.overlong();
            p = next;
            continue;
        }
        if (!t) {
            pending_.append(reinterpret_cast<const char*>(p), length);
            pendingError_ = pendingError_ || error;
            break;
        }
        QString raw;
        if (pending_.empty()) {
            raw = QString::fromLatin1(reinterpret_cast<const char*>(p),
                                      static_cast<qsizetype>(length));
        } else {
            pending_.append(reinterpret_cast<const char*>(p), length);
            raw = QString::fromLatin1(pending_.data(), static_cast<qsizetype>(pending_.size()));
            pending_.clear(); // keeps its capacity for the next line
        }
        const bool lineError = pendingError_ || error;
        pendingError_ = false;
        sink.line(std::move(raw), lineError);
        p = next;
    }
}

QString LineSplitter::pending() const {
    return QString::fromLatin1(pending_.data(), static_cast<qsizetype>(pending_.size()));
}

void LineSplitter::clear() {
    pending_.clear();
    pendingError_ = false;
    discarding_ = false;
}

} // namespace serwedge::worker
