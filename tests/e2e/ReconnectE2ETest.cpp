// tallyra-cli reading an instrument that goes away and comes back under the same name: a
// pseudo-terminal behind a link (as udev's /dev/serial/by-id names are) hangs up and its link
// goes, then a new pseudo-terminal appears under the same link; a network instrument's
// connection is dropped by its server.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

struct LinkedInstrument {
    explicit LinkedInstrument(const QByteArray& at) : link(at) {
        int slave = -1;
        char name[256];
        EXPECT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
        ::close(slave);                       // only the program holds the port,
        ::fcntl(master, F_SETFD, FD_CLOEXEC); // and only this side keeps the line up
        EXPECT_EQ(::symlink(name, link.constData()), 0);
    }
    ~LinkedInstrument() { ::close(master), ::unlink(link.constData()); }
    void send(const char* text) const { EXPECT_GT(::write(master, text, std::strlen(text)), 0); }
    QByteArray link;
    int master = -1;
};

// tallyra-cli reading; out and err collect what it printed so far.
struct Reading {
    explicit Reading(const QStringList& args) {
        p.start(QStringLiteral(TALLYRA_BINARY_DIR "/bin/tallyra-cli"), QStringList{"read"} + args);
    }
    ~Reading() {
        p.kill();
        p.waitForFinished();
    }
    bool waitFor(QByteArray Reading::*seen, const char* text, int looks = 200) {
        for (int i = 0; i < looks && !(this->*seen).contains(text); ++i) {
            p.waitForReadyRead(50);
            err += p.readAllStandardError();
            out += p.readAllStandardOutput();
        }
        return (this->*seen).contains(text);
    }
    // The values printed, once the tool has ended by itself; the absences it told.
    QStringList values(int absences = 1) {
        EXPECT_TRUE(p.waitForFinished(20000)) << "--count goes on counting across the return";
        err += p.readAllStandardError();
        out += p.readAllStandardOutput();
        EXPECT_EQ(p.exitCode(), 0) << err.toStdString();
        EXPECT_EQ(err.count("waiting for it to return"), absences) << err.toStdString();
        EXPECT_EQ(err.count("Instrument reconnected"), absences) << err.toStdString();
        QStringList values;
        for (const QByteArray& line : out.trimmed().split('\n'))
            values << QJsonDocument::fromJson(line).object().value("value").toString();
        return values;
    }
    QProcess p;
    QByteArray out, err;
};

} // namespace

TEST(ReconnectE2E, readingGoesOnWhenTheInstrumentReturnsUnderTheSameName) {
    QTemporaryDir dir;
    const QByteArray link = dir.filePath("ttyBALANCE").toLocal8Bit();
    auto instrument = std::make_unique<LinkedInstrument>(link);
    Reading r({"--port", link, "--count", "5", "--seconds", "60"});
    ASSERT_TRUE(r.waitFor(&Reading::err, "RTS:")) << r.err.toStdString();
    instrument->send("ST,+1.00 g\r\nST,+2.00 g\r\nST,+3.");
    ASSERT_TRUE(r.waitFor(&Reading::out, "\"2.00\""));
    r.p.waitForReadyRead(200); // the partial line reaches the program
    instrument.reset();        // unplugged: the line hangs up and the name goes
    ASSERT_TRUE(r.waitFor(&Reading::err, "waiting for it to return")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("<10>ST,+3.")) << "the partial line is logged";
    r.p.waitForReadyRead(1200); // the name stays away for a few looks
    instrument = std::make_unique<LinkedInstrument>(link);
    ASSERT_TRUE(r.waitFor(&Reading::err, "Instrument reconnected")) << r.err.toStdString();
    instrument->send("ST,+4.00 g\r\nST,+5.00 g\r\nST,+6.00 g\r\n");
    EXPECT_EQ(r.values(), (QStringList{"1.00", "2.00", "4.00", "5.00", "6.00"}));
}

// The device server drops the connection; then, as one whose client slot is still taken, it
// drops each new connection at once a few times: that is told once, not once per try.
TEST(ReconnectE2E, aDroppedNetworkConnectionIsMadeAgain) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&a), len), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len);
    auto accept = [&] {
        pollfd p{listener, POLLIN, 0};
        return ::poll(&p, 1, 5000) == 1 ? ::accept(listener, nullptr, nullptr) : -1;
    };
    auto send = [](int to, const char* text) {
        EXPECT_GT(::send(to, text, std::strlen(text), MSG_NOSIGNAL), 0);
    };
    Reading r({"--port", QString("tcp://127.0.0.1:%1").arg(ntohs(a.sin_port)), "--count", "2"});
    int client = accept();
    ASSERT_GE(client, 0);
    ASSERT_TRUE(r.waitFor(&Reading::err, "RTS:")) << r.err.toStdString();
    send(client, "ST,+1.00 g\r\n");
    ASSERT_TRUE(r.waitFor(&Reading::out, "\"1.00\""));
    ::close(client); // the device server drops the connection
    ASSERT_TRUE(r.waitFor(&Reading::err, "Instrument reconnected")) << r.err.toStdString();
    for (int i = 0; i < 3; ++i) {
        const int taken = accept();
        ::usleep(200000); // the tool has its port ready again and reads
        ::close(taken);
    }
    client = accept();
    ASSERT_GE(client, 0);
    // It streams, as such balances do: the return is told with the first line.
    for (int i = 0; i < 50 && !r.out.contains("2.00"); ++i) {
        send(client, "ST,+2.00 g\r\n");
        r.waitFor(&Reading::out, "2.00", 2);
    }
    EXPECT_EQ(r.values(2), (QStringList{"1.00", "2.00"}));
    ::close(client);
    ::close(listener);
}
