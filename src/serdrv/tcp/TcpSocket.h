#pragma once

// Inside the driver library: one connected TCP stream, the operating system's part of the
// tcp:// back-end (posix/TcpSocket.cpp, win/TcpSocket.cpp).

#include <cstdint>
#include <memory>
#include <string>

namespace serdrv::tcp {

class Socket {
public:
    virtual ~Socket() = default;

    // Bytes read (1..count), 0 when nothing arrived within timeoutMs (0: do not wait), -1 when
    // the peer closed the connection or it failed.
    virtual int receive(uint8_t* buffer, int count, int timeoutMs) = 0;
    // Bytes sent (0..count) within timeoutMs (0: no limit), -1 when the connection failed
    // before anything was sent.
    virtual int send(const uint8_t* buffer, int count, int timeoutMs) = 0;
    // Bytes waiting to be read; -1 when the connection failed.
    virtual int available() = 0;
    // Bytes sent but not yet acknowledged by the peer, 0 where the system cannot tell.
    virtual int unsent() = 0;
};

// Resolves host, connects within timeoutMs and switches on keep-alive. nullptr with code set to
// one of the SERDRV_ERR_* open codes when it cannot.
std::unique_ptr<Socket> connectSocket(const std::string& host, const std::string& port,
                                      int timeoutMs, int& code);

} // namespace serdrv::tcp
