#include "cli/StandardStreams.h"

#include <QIODevice>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tallyra::cli {

namespace {

class StandardInput final : public QIODevice {
public:
    StandardInput() { open(QIODevice::ReadOnly | QIODevice::Unbuffered); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const std::size_t n = std::fread(data, 1, static_cast<std::size_t>(maxSize), stdin);
        if (n == 0 && std::ferror(stdin)) {
            setErrorString(QString::fromLocal8Bit(std::strerror(errno)));
            return -1;
        }
        return static_cast<qint64>(n);
    }
    qint64 writeData(const char*, qint64) override { return -1; }
};

} // namespace

std::unique_ptr<QIODevice> standardInput() {
    return std::make_unique<StandardInput>();
}

} // namespace tallyra::cli
