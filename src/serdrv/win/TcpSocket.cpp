// TCP streams for the tcp:// back-end through Winsock.

#include "tcp/TcpSocket.h"
#include "serdrv.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <mstcpip.h>

#include <chrono>
#include <mutex>

namespace serdrv::tcp {
namespace {

// A peer that stops answering is noticed after about 10 + 10 x 5 s of silence (Windows probes
// ten times).
constexpr ULONG kKeepIdleMs = 10000;
constexpr ULONG kKeepIntervalMs = 5000;

bool startWinsock() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        WSADATA data;
        started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    });
    return started;
}

int connectErrorCode(int err) {
    switch (err) {
    case WSAECONNREFUSED:
        return SERDRV_ERR_CONNECTION_REFUSED;
    case WSAETIMEDOUT:
        return SERDRV_ERR_TIMED_OUT;
    case WSAENETUNREACH:
    case WSAEHOSTUNREACH:
    case WSAENETDOWN:
    case WSAEHOSTDOWN:
        return SERDRV_ERR_UNREACHABLE;
    case WSAEACCES:
        return SERDRV_ERR_PERMISSION;
    default:
        return SERDRV_ERR_OS_BASE + err;
    }
}

int pollOne(SOCKET s, SHORT events, int timeoutMs, SHORT& revents) {
    WSAPOLLFD p{};
    p.fd = s;
    p.events = events;
    const int r = WSAPoll(&p, 1, timeoutMs);
    revents = r > 0 ? p.revents : 0;
    return r;
}

void setUpStream(SOCKET s) {
    tcp_keepalive k{};
    k.onoff = 1;
    k.keepalivetime = kKeepIdleMs;
    k.keepaliveinterval = kKeepIntervalMs;
    DWORD returned = 0;
    WSAIoctl(s, SIO_KEEPALIVE_VALS, &k, sizeof k, nullptr, 0, &returned, nullptr, nullptr);
    const BOOL on = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

SOCKET connectOne(const addrinfo* a, int timeoutMs, int& code) {
    SOCKET s = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
    if (s == INVALID_SOCKET) {
        code = connectErrorCode(WSAGetLastError());
        return INVALID_SOCKET;
    }
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    if (::connect(s, a->ai_addr, static_cast<int>(a->ai_addrlen)) != 0) {
        const int err = WSAGetLastError();
        if (err != WSAEWOULDBLOCK) {
            code = connectErrorCode(err);
            closesocket(s);
            return INVALID_SOCKET;
        }
        SHORT revents = 0;
        const int r = pollOne(s, POLLWRNORM, timeoutMs, revents);
        int soError = 0;
        int len = sizeof soError;
        if (r == 0) {
            code = SERDRV_ERR_TIMED_OUT;
            closesocket(s);
            return INVALID_SOCKET;
        }
        if (r < 0 ||
            getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&soError), &len) != 0 ||
            soError != 0) {
            code = connectErrorCode(r < 0 ? WSAGetLastError() : soError);
            closesocket(s);
            return INVALID_SOCKET;
        }
    }
    setUpStream(s);
    return s;
}

class WinSocket final : public Socket {
public:
    explicit WinSocket(SOCKET s) : s_(s) {}
    ~WinSocket() override { closesocket(s_); }

    int receive(uint8_t* buffer, int count, int timeoutMs) override {
        for (;;) {
            const int n = ::recv(s_, reinterpret_cast<char*>(buffer), count, 0);
            if (n > 0)
                return n;
            if (n == 0)
                return -1; // the peer closed the connection
            const int err = WSAGetLastError();
            if (err == WSAEINTR)
                continue;
            if (err != WSAEWOULDBLOCK)
                return -1;
            if (timeoutMs <= 0)
                return 0;
            SHORT revents = 0;
            const int r = pollOne(s_, POLLRDNORM, timeoutMs, revents);
            if (r < 0)
                return -1;
            if (r == 0)
                return 0;
            timeoutMs = 0;
        }
    }

    int send(const uint8_t* buffer, int count, int timeoutMs) override {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        int sent = 0;
        while (sent < count) {
            const int n = ::send(s_, reinterpret_cast<const char*>(buffer) + sent, count - sent, 0);
            if (n > 0) {
                sent += n;
                continue;
            }
            const int err = WSAGetLastError();
            if (err == WSAEINTR)
                continue;
            if (err != WSAEWOULDBLOCK)
                return sent > 0 ? sent : -1;
            int wait = -1;
            if (timeoutMs > 0) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now());
                if (left.count() <= 0)
                    break;
                wait = static_cast<int>(left.count());
            }
            SHORT revents = 0;
            if (pollOne(s_, POLLWRNORM, wait, revents) <= 0)
                break;
            if (revents & (POLLERR | POLLHUP | POLLNVAL))
                return sent > 0 ? sent : -1;
        }
        return sent;
    }

    int available() override {
        u_long n = 0;
        if (ioctlsocket(s_, FIONREAD, &n) != 0)
            return -1;
        if (n > 0)
            return static_cast<int>(n);
        SHORT revents = 0;
        if (pollOne(s_, POLLRDNORM, 0, revents) > 0) {
            char b;
            const int r = ::recv(s_, &b, 1, MSG_PEEK);
            if (r == 0 || (r < 0 && WSAGetLastError() != WSAEWOULDBLOCK))
                return -1;
        }
        return 0;
    }

    int unsent() override { return 0; }

private:
    SOCKET s_;
};

} // namespace

std::unique_ptr<Socket> connectSocket(const std::string& host, const std::string& port,
                                      int timeoutMs, int& code) {
    if (!startWinsock()) {
        code = SERDRV_ERR_UNREACHABLE;
        return nullptr;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0) {
        code = SERDRV_ERR_HOST_NOT_FOUND;
        return nullptr;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    code = SERDRV_ERR_HOST_NOT_FOUND;
    SOCKET s = INVALID_SOCKET;
    for (const addrinfo* a = found; a && s == INVALID_SOCKET; a = a->ai_next) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            code = SERDRV_ERR_TIMED_OUT;
            break;
        }
        s = connectOne(a, static_cast<int>(left.count()), code);
    }
    ::freeaddrinfo(found);
    if (s == INVALID_SOCKET)
        return nullptr;
    return std::make_unique<WinSocket>(s);
}

} // namespace serdrv::tcp
