// Serial ports through termios. Pseudo-terminals (socat, ser2net) have no modem lines, no error
// counters and keep 8 bits without parity: on them the lines read as off, setting them does
// nothing, and framing they cannot apply is accepted. A port is left with the settings it had
// when it was opened.
//
// A byte received with a parity or framing error is marked by the terminal driver (PARMRK:
// 0xFF 0x00 and the byte; a received 0xFF comes doubled). The reads decode the marks, end a
// batch at a marked byte and keep its indication until it is asked for, so that the indication
// belongs to the last byte read, however many bytes one read takes.

#include "Consoles.h"
#include "SystemPort.h"
#include "Terminal.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <string>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace serdrv {
namespace {

int openErrorCode(int err) {
    switch (err) {
    case EBUSY:
    case EWOULDBLOCK:
        return SERDRV_ERR_IN_USE;
    case ENOTTY:
        return SERDRV_ERR_NOT_VALID;
    case ENOENT:
        return SERDRV_ERR_NO_SUCH_FILE;
    case EACCES:
    case EPERM:
        return SERDRV_ERR_PERMISSION;
    case ENODEV:
    case ENXIO:
        return SERDRV_ERR_NO_DEVICE;
    default:
        return SERDRV_ERR_OS_BASE + err;
    }
}

// Names without a leading slash ("ttyUSB0", "pts/3") live in /dev.
std::string devicePath(const std::string& name) {
    return name.front() == '/' ? name : "/dev/" + name;
}

class PosixPort final : public SystemPort {
public:
    explicit PosixPort(int fd) : fd_(fd), terminal_(fd) {
        terminal_.save();
        int bits = 0;
        virtual_ = ioctl(fd_, TIOCMGET, &bits) != 0;
        serial_icounter_struct c{};
        if (ioctl(fd_, TIOCGICOUNT, &c) == 0) {
            counters_ = true;
            last_ = marked_ = c;
        }
    }
    ~PosixPort() override {
        terminal_.restore();
        ioctl(fd_, TIOCNXCL);
        flock(fd_, LOCK_UN);
        ::close(fd_);
    }

    int configure(const SerdrvConfig& c) override {
        LineSettings wanted;
        if (const int code = wantedSettings(c, wanted); code != 0)
            return code;
        const int result = applyAndVerify(terminal_, wanted, virtual_);
        termios now{};
        marking_ = tcgetattr(fd_, &now) == 0 && (now.c_iflag & PARMRK) != 0;
        return result;
    }

    int putData(const uint8_t* buffer, int count, int timeoutMs) override {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        int sent = 0;
        while (sent < count) {
            const ssize_t n = ::write(fd_, buffer + sent, static_cast<size_t>(count - sent));
            if (n > 0) {
                sent += static_cast<int>(n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno != EAGAIN)
                return sent > 0 ? sent : -1;
            // Output buffer full: wait for room, up to the transmit timeout (0: no limit).
            int wait = -1;
            if (timeoutMs > 0) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now());
                if (left.count() <= 0)
                    break;
                wait = static_cast<int>(left.count());
            }
            pollfd p{fd_, POLLOUT, 0};
            if (::poll(&p, 1, wait) <= 0 && errno != EINTR)
                break;
            if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
                return sent > 0 ? sent : -1;
        }
        return sent;
    }

    int rxReadyCount() override {
        if (hungUp())
            return -1;
        int n = 0;
        return ioctl(fd_, FIONREAD, &n) == 0 ? n + (rawEnd_ - rawBegin_) : -1;
    }
    int txBufCount() override {
        int n = 0;
        return ioctl(fd_, TIOCOUTQ, &n) == 0 ? n : -1;
    }
    int rxFlush() override {
        rawBegin_ = rawEnd_ = 0;
        escape_ = 0;
        parityPending_ = framingPending_ = false;
        return tcflush(fd_, TCIFLUSH) == 0 ? 0 : -1;
    }
    int txFlush() override { return tcflush(fd_, TCOFLUSH) == 0 ? 0 : -1; }
    int txDrain() override {
        if (virtual_)
            return 0; // the far side of a pseudo-terminal may never read
        return tcdrain(fd_) == 0 ? 0 : -1;
    }

    int setDTR(bool on) override { return setLine(TIOCM_DTR, on); }
    int setRTS(bool on) override { return setLine(TIOCM_RTS, on); }
    int sigCTS() override { return line(TIOCM_CTS); }
    int sigDSR() override { return line(TIOCM_DSR); }
    int sigCD() override { return line(TIOCM_CD); }
    int sigRing() override { return line(TIOCM_RI); }

    int sigBreak() override { return risen(&serial_icounter_struct::brk); }
    int sigFrameErr() override {
        return marking_ ? taken(framingPending_) : risen(&serial_icounter_struct::frame);
    }
    int sigOverrun() override { return risen(&serial_icounter_struct::overrun); }
    int sigParityErr() override {
        return marking_ ? taken(parityPending_) : risen(&serial_icounter_struct::parity);
    }
    int rxOverflow() override { return risen(&serial_icounter_struct::buf_overrun); }

    int sendBreak(int milliseconds) override {
        if (virtual_)
            return 0;
        if (ioctl(fd_, TIOCSBRK) != 0)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        return ioctl(fd_, TIOCCBRK) == 0 ? 0 : -1;
    }

private:
    int readSome(uint8_t* buffer, int count, int timeoutMs) override {
        if (failed_)
            return -1;
        if (!marking_)
            return readRaw(buffer, count, timeoutMs);
        int n = decode(buffer, count);
        if (n > 0)
            return n;
        if (const int got = fill(timeoutMs); got <= 0)
            return got;
        n = decode(buffer, count);
        if (n > 0 || escape_ == 0)
            return n;
        // Only the start of a mark so far: the rest of it is on its way.
        return fill(10) < 0 ? -1 : decode(buffer, count);
    }

    // Reads from the device into the marked bytes not yet decoded.
    int fill(int timeoutMs) {
        if (rawBegin_ > 0) {
            std::memmove(raw_, raw_ + rawBegin_, static_cast<size_t>(rawEnd_ - rawBegin_));
            rawEnd_ -= rawBegin_;
            rawBegin_ = 0;
        }
        const int got = readRaw(raw_ + rawEnd_, static_cast<int>(sizeof raw_) - rawEnd_, timeoutMs);
        if (got > 0)
            rawEnd_ += got;
        return got;
    }

    // Decoded bytes, up to count; ends after a byte that came with an error indication.
    int decode(uint8_t* out, int count) {
        int n = 0;
        while (n < count && rawBegin_ < rawEnd_) {
            const uint8_t b = raw_[rawBegin_++];
            if (escape_ == 0) {
                if (b == 0xFF)
                    escape_ = 1;
                else
                    out[n++] = b;
            } else if (escape_ == 1) {
                escape_ = b == 0x00 ? 2 : 0;
                if (b == 0xFF) {
                    out[n++] = 0xFF;
                } else if (b != 0x00) {
                    out[n++] = 0xFF; // not a mark: both bytes as they came
                    --rawBegin_;
                }
            } else {
                escape_ = 0;
                out[n++] = b;
                if (indicationOfMark())
                    break;
            }
        }
        return n;
    }

    // Which indication a marked byte carries, from the error counters; false for a break,
    // which reads as the byte 0 without an indication, as it does unmarked.
    bool indicationOfMark() {
        serial_icounter_struct c{};
        if (counters_ && ioctl(fd_, TIOCGICOUNT, &c) == 0) {
            if (c.parity != marked_.parity) {
                ++marked_.parity;
                return parityPending_ = true;
            }
            if (c.frame != marked_.frame) {
                ++marked_.frame;
                return framingPending_ = true;
            }
            if (c.brk != marked_.brk) {
                ++marked_.brk;
                return false;
            }
        }
        // Counters that cannot tell: the byte failed the check its settings ask for.
        return parityPending_ = true;
    }

    int taken(bool& pending) {
        if (std::exchange(pending, false))
            return 1;
        return hungUp() ? -1 : 0;
    }

    int readRaw(uint8_t* buffer, int count, int timeoutMs) {
        pollfd p{fd_, POLLIN, 0};
        int r;
        do {
            r = ::poll(&p, 1, timeoutMs < 0 ? 0 : timeoutMs);
        } while (r < 0 && errno == EINTR);
        if (r < 0)
            return fail();
        if (r == 0)
            return 0;
        if (p.revents & POLLIN) {
            ssize_t n;
            do {
                n = ::read(fd_, buffer, static_cast<size_t>(count));
            } while (n < 0 && errno == EINTR);
            if (n > 0)
                return static_cast<int>(n);
            if (n < 0 && errno == EAGAIN)
                return 0;
            // A read of 0 is "no data" with VMIN 0, unless the far side has gone.
            if (n == 0 && !(p.revents & (POLLHUP | POLLERR)))
                return 0;
            return fail();
        }
        if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
            return fail();
        return 0;
    }

    bool hungUp() {
        if (failed_)
            return true;
        if (rawBegin_ < rawEnd_)
            return false; // bytes that came before the hang-up are read first
        pollfd p{fd_, 0, 0};
        if (::poll(&p, 1, 0) == 1 && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) {
            // Bytes that arrived before the hang-up are still delivered.
            int n = 0;
            if (ioctl(fd_, FIONREAD, &n) == 0 && n > 0)
                return false;
            failed_ = true;
        }
        return failed_;
    }

    int setLine(int bit, bool on) {
        if (virtual_)
            return failed_ ? -1 : 0;
        return ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bit) == 0 ? 0 : -1;
    }

    int line(int bit) {
        if (virtual_)
            return hungUp() ? -1 : 0;
        int bits = 0;
        if (ioctl(fd_, TIOCMGET, &bits) != 0)
            return -1;
        return (bits & bit) ? 1 : 0;
    }

    // A rise of the counter since the last query of this kind means the condition occurred.
    int risen(int serial_icounter_struct::*field) {
        if (!counters_)
            return hungUp() ? -1 : 0;
        serial_icounter_struct c{};
        if (ioctl(fd_, TIOCGICOUNT, &c) != 0)
            return -1;
        const bool rose = c.*field != last_.*field;
        last_.*field = c.*field;
        return rose ? 1 : 0;
    }

    int fd_;
    Terminal terminal_;
    bool virtual_ = false;
    bool counters_ = false;
    serial_icounter_struct last_{};
    // Marked reading: bytes read but not yet decoded, the state of a mark begun (1 after 0xFF,
    // 2 after 0xFF 0x00), the indications of the last marked byte, the counts already given
    // to marked bytes.
    bool marking_ = false;
    uint8_t raw_[16 * 1024];
    int rawBegin_ = 0, rawEnd_ = 0;
    int escape_ = 0;
    bool parityPending_ = false, framingPending_ = false;
    serial_icounter_struct marked_{};
};

} // namespace

std::unique_ptr<Port> openSystemPort(const SerdrvConfig& config, int& code) {
    const std::string path = devicePath(config.portName);
    // The kernel writes its messages there and a login may run on it: never opened.
    if (isSystemConsole(path)) {
        code = SERDRV_ERR_CONSOLE;
        return nullptr;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        code = openErrorCode(errno);
        return nullptr;
    }
    if (!isatty(fd)) {
        ::close(fd);
        code = SERDRV_ERR_NOT_VALID;
        return nullptr;
    }
    // Two programs must never read the same instrument: TIOCEXCL stops other users, flock
    // stops root as well (and other programs that take the lock).
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        code = err == EWOULDBLOCK ? SERDRV_ERR_IN_USE : openErrorCode(err);
        return nullptr;
    }
    ioctl(fd, TIOCEXCL);
    return std::make_unique<PosixPort>(fd);
}

} // namespace serdrv
