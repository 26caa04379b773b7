#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>

namespace serwedge::worker {

// Cuts received bytes into lines at the input terminator, a whole batch of bytes at a time.
// The bytes of a line that has not ended yet wait in a buffer that is reused from line to line;
// a line that grows beyond the longest allowed is discarded up to and including its terminator.
class LineSplitter {
public:
    class Sink {
    public:
        virtual ~Sink() = default;
        // A complete line, terminator included, each byte as the character with the same code;
        // error when one of its bytes came with a parity or framing indication.
        virtual void line(QString raw, bool error) = 0;
        // The line being collected grew beyond the longest allowed; it is discarded up to and
        // including its terminator.
        virtual void overlong() = 0;
    };

    // terminator: the byte that ends a line (outside 0..255: no byte does).
    LineSplitter(int terminator, qsizetype maxLength);

    // The bytes in the order received. lastByteError: the last of them came with an error
    // indication, which marks the line it belongs to.
    void feed(const std::uint8_t* data, std::size_t count, bool lastByteError, Sink& sink);

    // The bytes of the line not ended yet, as characters.
    QString pending() const;
    bool hasPending() const { return !pending_.empty(); }
    void clear();

private:
    int terminator_;
    std::size_t maxLength_;
    std::string pending_;
    bool pendingError_ = false;
    bool discarding_ = false;
};

} // namespace serwedge::worker
