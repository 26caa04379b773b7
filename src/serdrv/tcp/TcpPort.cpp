// Network instruments: a port named "tcp://HOST:PORT" is a raw TCP stream (LAN balances, serial
// device servers in raw mode). There are no modem lines and no framing on a stream: the lines
// read as off, setting them and configuring the port do nothing. A connection that the peer
// closes or that fails is a hang-up, reported as for a serial port that went away.

#include "Backend.h"
#include "SystemPort.h"
#include "tcp/TcpSocket.h"

#include <cctype>

namespace serdrv {
namespace {

// Long enough for a device server on a routed network, short enough that a Start on a host
// that does not answer comes back soon with a clear error.
constexpr int kConnectTimeoutMs = 3000;

class TcpPort final : public SystemPort {
public:
    explicit TcpPort(std::unique_ptr<tcp::Socket> socket) : socket_(std::move(socket)) {}

    int configure(const SerdrvConfig&) override { return 0; }

    int putData(const uint8_t* buffer, int count, int timeoutMs) override {
        if (failed_)
            return -1;
        if (count == 0)
            return 0;
        const int n = socket_->send(buffer, count, timeoutMs);
        return n < 0 ? fail() : n;
    }

    int rxReadyCount() override {
        if (failed_)
            return -1;
        return socket_->available();
    }
    int txBufCount() override { return failed_ ? -1 : socket_->unsent(); }

    int rxFlush() override {
        // Whatever has arrived so far is dropped; a close seen meanwhile stays a hang-up.
        uint8_t scratch[512];
        while (!failed_) {
            const int n = readSome(scratch, sizeof scratch, 0);
            if (n <= 0)
                break;
        }
        return 0;
    }
    int txFlush() override { return failed_ ? -1 : 0; }
    int txDrain() override { return failed_ ? -1 : 0; }

    int setDTR(bool) override { return failed_ ? -1 : 0; }
    int setRTS(bool) override { return failed_ ? -1 : 0; }
    int sigCTS() override { return failed_ ? -1 : 0; }
    int sigDSR() override { return failed_ ? -1 : 0; }
    int sigCD() override { return failed_ ? -1 : 0; }
    int sigRing() override { return failed_ ? -1 : 0; }
    int sigBreak() override { return failed_ ? -1 : 0; }
    int sigFrameErr() override { return failed_ ? -1 : 0; }
    int sigOverrun() override { return failed_ ? -1 : 0; }
    int sigParityErr() override { return failed_ ? -1 : 0; }
    int rxOverflow() override { return failed_ ? -1 : 0; }
    int sendBreak(int) override { return failed_ ? -1 : 0; }

private:
    int readSome(uint8_t* buffer, int count, int timeoutMs) override {
        if (failed_)
            return -1;
        const int n = socket_->receive(buffer, count, timeoutMs < 0 ? 0 : timeoutMs);
        return n < 0 ? fail() : n;
    }

    // Once the connection is gone it stays gone (failed_); a reopen connects anew.
    std::unique_ptr<tcp::Socket> socket_;
};

bool startsWithTcpScheme(const std::string& name) {
    static constexpr char scheme[] = "tcp://";
    if (name.size() < sizeof scheme - 1)
        return false;
    for (size_t i = 0; i + 1 < sizeof scheme; ++i) {
        if (std::tolower(static_cast<unsigned char>(name[i])) != scheme[i])
            return false;
    }
    return true;
}

} // namespace

bool isTcpPortName(const std::string& name) {
    return startsWithTcpScheme(name);
}

bool parseTcpPortName(const std::string& name, std::string& host, std::string& port) {
    if (!startsWithTcpScheme(name))
        return false;
    const std::string rest = name.substr(6);
    size_t colon;
    if (!rest.empty() && rest.front() == '[') { // [IPv6]:PORT
        const size_t close = rest.find(']');
        if (close == std::string::npos || close + 1 >= rest.size() || rest[close + 1] != ':')
            return false;
        host = rest.substr(1, close - 1);
        colon = close + 1;
    } else {
        colon = rest.rfind(':');
        if (colon == std::string::npos || rest.find(':') != colon)
            return false;
        host = rest.substr(0, colon);
    }
    port = rest.substr(colon + 1);
    if (host.empty() || port.empty() || port.size() > 5)
        return false;
    long number = 0;
    for (const char c : port) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
        number = number * 10 + (c - '0');
    }
    for (const char c : host) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= ' ' || c == '/' || c == '?' || c == '#' || c == '@')
            return false;
    }
    return number >= 1 && number <= 65535;
}

std::unique_ptr<Port> openTcpPort(const std::string& name, int& code) {
    std::string host;
    std::string port;
    if (!parseTcpPortName(name, host, port)) {
        code = SERDRV_ERR_NOT_VALID;
        return nullptr;
    }
    auto socket = tcp::connectSocket(host, port, kConnectTimeoutMs, code);
    if (!socket)
        return nullptr;
    return std::make_unique<TcpPort>(std::move(socket));
}

} // namespace serdrv
