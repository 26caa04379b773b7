// TCP streams for the tcp:// back-end through BSD sockets.

#include "tcp/TcpSocket.h"
#include "serdrv.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <linux/sockios.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace serdrv::tcp {
namespace {

// A peer that stops answering is noticed after about 10 + 3 x 5 s of silence; unacknowledged
// writes give up after 20 s.
constexpr int kKeepIdleS = 10;
constexpr int kKeepIntervalS = 5;
constexpr int kKeepCount = 3;
constexpr unsigned kUserTimeoutMs = 20000;

int connectErrorCode(int err) {
    switch (err) {
    case ECONNREFUSED:
        return SERDRV_ERR_CONNECTION_REFUSED;
    case ETIMEDOUT:
        return SERDRV_ERR_TIMED_OUT;
    case ENETUNREACH:
    case EHOSTUNREACH:
    case ENETDOWN:
    case EHOSTDOWN:
        return SERDRV_ERR_UNREACHABLE;
    case EACCES:
    case EPERM:
        return SERDRV_ERR_PERMISSION;
    default:
        return SERDRV_ERR_OS_BASE + err;
    }
}

int pollOne(int fd, short events, int timeoutMs, short& revents) {
    pollfd p{fd, events, 0};
    int r;
    do {
        r = ::poll(&p, 1, timeoutMs);
    } while (r < 0 && errno == EINTR);
    revents = r > 0 ? p.revents : 0;
    return r;
}

void setUpStream(int fd) {
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &kKeepIdleS, sizeof kKeepIdleS);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &kKeepIntervalS, sizeof kKeepIntervalS);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &kKeepCount, sizeof kKeepCount);
    setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &kUserTimeoutMs, sizeof kUserTimeoutMs);
    // Request commands are a few bytes that the instrument should get at once.
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

// Starts a non-blocking connect and waits for it; the socket, or -1 with code set.
int connectOne(const addrinfo* a, int timeoutMs, int& code) {
    const int fd =
        ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
    if (fd < 0) {
        code = connectErrorCode(errno);
        return -1;
    }
    if (::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
        if (errno != EINPROGRESS) {
            code = connectErrorCode(errno);
            ::close(fd);
            return -1;
        }
        short revents = 0;
        const int r = pollOne(fd, POLLOUT, timeoutMs, revents);
        int err = 0;
        socklen_t len = sizeof err;
        if (r == 0) {
            code = SERDRV_ERR_TIMED_OUT;
            ::close(fd);
            return -1;
        }
        if (r < 0 || getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0) {
            code = connectErrorCode(r < 0 ? errno : err);
            ::close(fd);
            return -1;
        }
    }
    setUpStream(fd);
    return fd;
}

class PosixSocket final : public Socket {
public:
    explicit PosixSocket(int fd) : fd_(fd) {}
    ~PosixSocket() override { ::close(fd_); }

    int receive(uint8_t* buffer, int count, int timeoutMs) override {
        for (;;) {
            const ssize_t n = ::recv(fd_, buffer, static_cast<size_t>(count), MSG_DONTWAIT);
            if (n > 0)
                return static_cast<int>(n);
            if (n == 0)
                return -1; // the peer closed the connection
            if (errno == EINTR)
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                return -1;
            if (timeoutMs <= 0)
                return 0;
            short revents = 0;
            const int r = pollOne(fd_, POLLIN, timeoutMs, revents);
            if (r < 0)
                return -1;
            if (r == 0)
                return 0;
            timeoutMs = 0; // readable or failed: the next recv tells which
        }
    }

    int send(const uint8_t* buffer, int count, int timeoutMs) override {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        int sent = 0;
        while (sent < count) {
            const ssize_t n = ::send(fd_, buffer + sent, static_cast<size_t>(count - sent),
                                     MSG_DONTWAIT | MSG_NOSIGNAL);
            if (n > 0) {
                sent += static_cast<int>(n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
                return sent > 0 ? sent : -1;
            int wait = -1;
            if (timeoutMs > 0) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now());
                if (left.count() <= 0)
                    break;
                wait = static_cast<int>(left.count());
            }
            short revents = 0;
            if (pollOne(fd_, POLLOUT, wait, revents) <= 0)
                break;
            if (revents & (POLLERR | POLLHUP | POLLNVAL))
                return sent > 0 ? sent : -1;
        }
        return sent;
    }

    int available() override {
        int n = 0;
        if (ioctl(fd_, FIONREAD, &n) != 0)
            return -1;
        if (n > 0)
            return n;
        // Nothing waiting: tell a closed or failed connection from a quiet one.
        short revents = 0;
        if (pollOne(fd_, POLLIN, 0, revents) > 0) {
            uint8_t b;
            const ssize_t r = ::recv(fd_, &b, 1, MSG_PEEK | MSG_DONTWAIT);
            if (r == 0 || (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
                return -1;
        }
        return 0;
    }

    int unsent() override {
        int n = 0;
        return ioctl(fd_, SIOCOUTQ, &n) == 0 ? n : 0;
    }

private:
    int fd_;
};

} // namespace

std::unique_ptr<Socket> connectSocket(const std::string& host, const std::string& port,
                                      int timeoutMs, int& code) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int rc = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
    if (rc != 0) {
        code = rc == EAI_SYSTEM ? connectErrorCode(errno) : SERDRV_ERR_HOST_NOT_FOUND;
        return nullptr;
    }
    // Every address the name has, in the resolver's order, sharing the time limit.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    code = SERDRV_ERR_HOST_NOT_FOUND;
    int fd = -1;
    for (const addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            code = SERDRV_ERR_TIMED_OUT;
            break;
        }
        fd = connectOne(a, static_cast<int>(left.count()), code);
    }
    ::freeaddrinfo(found);
    if (fd < 0)
        return nullptr;
    return std::make_unique<PosixSocket>(fd);
}

} // namespace serdrv::tcp
