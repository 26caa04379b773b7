#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

class QIODevice;

namespace serwedge::worker {

// Where the reading worker takes its bytes from: the serial port, or recorded bytes (replay).
// Used by the worker's thread only.
class ByteSource {
public:
    struct Batch {
        std::size_t count = 0;     // bytes stored; 0 when none came in time
        bool parityError = false;  // the last byte came with a parity error indication
        bool framingError = false; // the last byte came with a framing error indication
        bool end = false;          // no byte will come any more
    };

    virtual ~ByteSource() = default;
    // The buffer size the worker reads with.
    virtual std::size_t blockSize() const = 0;
    // Waits up to `wait` for bytes and stores those that are ready. A source that fails throws
    // (std::exception with the message that ends the reading).
    virtual Batch read(std::span<std::uint8_t> buffer, std::chrono::milliseconds wait) = 0;
};

// Recorded bytes read from a device (a file, standard input) in large blocks until its end.
// Sizes are 64-bit throughout, so files of any length stream through.
class StreamSource : public ByteSource {
public:
    static constexpr std::size_t kDefaultBlockSize = 1024 * 1024;

    // The device must be open for reading; blocks of blockSize bytes (at least 1).
    explicit StreamSource(std::unique_ptr<QIODevice> device,
                          std::size_t blockSize = kDefaultBlockSize);
    ~StreamSource() override;

    std::size_t blockSize() const override { return blockSize_; }
    Batch read(std::span<std::uint8_t> buffer, std::chrono::milliseconds wait) override;

private:
    std::unique_ptr<QIODevice> device_;
    std::size_t blockSize_;
};

} // namespace serwedge::worker
