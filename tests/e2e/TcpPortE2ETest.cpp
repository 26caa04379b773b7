// Network instruments through the port layer: a loopback server plays a LAN balance or a serial
// device server in raw mode.

#include "../unit/rs232/SerialTestSupport.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <chrono>
#include <memory>
#include <unistd.h>

namespace {

using serialtest::ioError;

std::string nameOf(const QTcpServer& server) {
    return "tcp://127.0.0.1:" + std::to_string(server.serverPort());
}

// The connection the port made, once the server has taken it.
std::unique_ptr<QTcpSocket> accepted(QTcpServer& server) {
    if (!server.waitForNewConnection(5000))
        return nullptr;
    return std::unique_ptr<QTcpSocket>(server.nextPendingConnection());
}

// Bytes read from the port until n have arrived or it reports a hang-up, which is appended
// as "|<text>".
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

class TcpPortTest : public serialtest::SerialFixture {
protected:
    QTcpServer server;
    void SetUp() override {
        SerialFixture::SetUp();
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    }
};

TEST_F(TcpPortTest, instrumentLinesArriveAndCommandsReachTheInstrument) {
    rs232::SerialPortLocal port(config(nameOf(server)));
    auto peer = accepted(server);
    ASSERT_TRUE(peer);
    peer->write("ST,+000012.34  g\r\nUS,-000001.50  g\r\n");
    peer->waitForBytesWritten(5000);
    EXPECT_EQ(readFrom(port, 36), "ST,+000012.34  g\r\nUS,-000001.50  g\r\n");

    // The worker's request commands go out through the same write path as on a serial port.
    port.putString("SI\r\n");
    ASSERT_TRUE(peer->waitForReadyRead(5000));
    EXPECT_EQ(peer->readAll(), "SI\r\n");

    // A stream has no modem lines: they read as off and setting them is accepted.
    port.setRTS(false);
    port.setDTR(true);
    EXPECT_FALSE(port.sigDSR());
    EXPECT_FALSE(port.sigCTS());
    EXPECT_FALSE(port.sigParityErr());
}

TEST_F(TcpPortTest, droppedConnectionIsAHangUpAfterItsLastBytesAndReopeningConnectsAgain) {
    auto port = std::make_unique<rs232::SerialPortLocal>(config(nameOf(server)));
    auto peer = accepted(server);
    ASSERT_TRUE(peer);
    peer->write("12.5\r\n");
    peer->waitForBytesWritten(5000);
    peer->close();
    EXPECT_EQ(readFrom(*port, 100), "12.5\r\n|getByte failed");
    EXPECT_EQ(ioError([&] { port->getByte(); }), "getByte failed"); // it stays hung up
    port->close();

    // The reconnect of a reading reopens the same name: a new connection.
    port = std::make_unique<rs232::SerialPortLocal>(config(nameOf(server)));
    peer = accepted(server);
    ASSERT_TRUE(peer);
    peer->write("13.0\r\n");
    peer->waitForBytesWritten(5000);
    EXPECT_EQ(readFrom(*port, 6), "13.0\r\n");
}

TEST_F(TcpPortTest, openingFailuresNameTheirCause) {
    const std::string closed = nameOf(server);
    server.close();
    const struct {
        std::string name;
        std::string cause;
    } cases[] = {
        {closed, "Connection refused"},
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
