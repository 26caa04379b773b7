#include "worker/ByteSource.h"

#include <QIODevice>

#include <algorithm>
#include <stdexcept>

namespace serwedge::worker {

StreamSource::StreamSource(std::unique_ptr<QIODevice> device, std::size_t blockSize)
    : device_(std::move(device)), blockSize_(std::max<std::size_t>(blockSize, 1)) {}

StreamSource::~StreamSource() = default;

ByteSource::Batch StreamSource::read(std::span<std::uint8_t> buffer, std::chrono::milliseconds) {
    Batch batch;
    const qint64 n = device_->read(reinterpret_cast<char*>(buffer.data()),
                                   static_cast<qint64>(std::min(buffer.size(), blockSize_)));
    if (n < 0)
        throw std::runtime_error("read failed: " + device_->errorString().toStdString());
    batch.count = static_cast<std::size_t>(n);
    // A device that gives nothing is at its end (a file, or a pipe whose writer has closed).
    batch.end = n == 0;
    return batch;
}

} // namespace serwedge::worker
