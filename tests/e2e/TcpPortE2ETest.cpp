// Network instruments through the port layer: a loopback server plays a LAN balance or a serial
// device server in raw mode.

#include "../unit/rs232/SerialTestSupport.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace {

using serialtest::ioError;

class LoopbackServer {
public:
    LoopbackServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        EXPECT_EQ(::bind(listener_, reinterpret_cast<sockaddr*>(&a), len), 0);
        EXPECT_EQ(::listen(listener_, 4), 0);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
    }
    ~LoopbackServer() {
        dropClient();
        ::close(listener_);
    }
    std::string name() const { return "tcp://127.0.0.1:" + std::to_string(port_); }

    bool accept() {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 5000) != 1)
            return false;
        dropClient();
        client_ = ::accept(listener_, nullptr, nullptr);
        return client_ >= 0;
    }
    void send(const std::string& s) {
        ASSERT_EQ(::send(client_, s.data(), s.size(), MSG_NOSIGNAL), ssize_t(s.size()));
    }
    std::string receive(size_t n) {
        std::string got;
        while (got.size() < n) {
            pollfd p{client_, POLLIN, 0};
            if (::poll(&p, 1, 5000) != 1)
                break;
            char buf[64];
            const ssize_t r = ::recv(client_, buf, std::min(sizeof buf, n - got.size()), 0);
            if (r <= 0)
                break;
            got.append(buf, static_cast<size_t>(r));
        }
        return got;
    }
    void dropClient() {
        if (client_ >= 0)
            ::close(client_);
        client_ = -1;
    }

private:
    int listener_ = -1;
    int client_ = -1;
    int port_ = 0;
};

// Bytes read from the port until n have arrived or the port reports a hang-up ("getByte
// failed"); the hang-up text is appended as "|<text>".
std::string readFrom(rs232::SerialPortLocal& port, size_t n) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (got.size() < n && std::chrono::steady_clock::now() < deadline) {
        try {
            const int b = port.getByte();
            if (b >= 0)
                got += static_cast<char>(b);
            else
                ::usleep(1000);
        } catch (const rs232::IOException& e) {
            return got + "|" + e.what();
        }
    }
    return got;
}

class TcpPortTest : public serialtest::SerialFixture {};

TEST_F(TcpPortTest, instrumentLinesArriveAndCommandsReachTheInstrument) {
    LoopbackServer server;
    rs232::SerialPortLocal port(config(server.name()));
    ASSERT_TRUE(server.accept());

    server.send("ST,+000012.34  g\r\nUS,-000001.50  g\r\n");
    EXPECT_EQ(readFrom(port, 36), "ST,+000012.34  g\r\nUS,-000001.50  g\r\n");

    // The worker's request commands go out through the same write path as on a serial port.
    port.putString("SI\r\n");
    EXPECT_EQ(server.receive(4), "SI\r\n");

    // A stream has no modem lines: they read as off and setting them is accepted.
    port.setRTS(false);
    port.setDTR(true);
    EXPECT_FALSE(port.sigDSR());
    EXPECT_FALSE(port.sigCTS());
    EXPECT_FALSE(port.sigParityErr());
}

TEST_F(TcpPortTest, droppedConnectionIsAHangUpAfterItsLastBytesAndReopeningConnectsAgain) {
    LoopbackServer server;
    auto port = std::make_unique<rs232::SerialPortLocal>(config(server.name()));
    ASSERT_TRUE(server.accept());
    server.send("12.5\r\n");
    server.dropClient();
    EXPECT_EQ(readFrom(*port, 100), "12.5\r\n|getByte failed");
    EXPECT_EQ(ioError([&] { port->getByte(); }), "getByte failed"); // it stays hung up
    port->close();

    // The reconnect of a reading reopens the same name: a new connection.
    port = std::make_unique<rs232::SerialPortLocal>(config(server.name()));
    ASSERT_TRUE(server.accept());
    server.send("13.0\r\n");
    EXPECT_EQ(readFrom(*port, 6), "13.0\r\n");
}

TEST_F(TcpPortTest, openingFailuresNameTheirCause) {
    std::string closedPort;
    {
        LoopbackServer gone;
        closedPort = gone.name();
    }
    const struct {
        std::string name;
        std::string cause;
    } cases[] = {
        {closedPort, "Connection refused"},
        {"tcp://no-such-host.invalid:4001", "Host not found"},
        {"tcp://127.0.0.1", "Port not valid"},
        {"tcp://127.0.0.1:70000", "Port not valid"},
        {"tcp://127.0.0.1:0", "Port not valid"},
        {"tcp://:4001", "Port not valid"},
        {"tcp://[::1:4001", "Port not valid"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ioError([&] { rs232::SerialPortLocal port(config(c.name)); }),
                  c.name + ": SerOpenPort failed: " + c.cause);
    }
}

} // namespace
