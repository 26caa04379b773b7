// tallyra-cli reading an instrument that is unplugged and plugged in again: a pseudo-terminal
// behind a link (as udev's /dev/serial/by-id names are) hangs up and its link goes; a new
// pseudo-terminal then appears under the same link.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <pty.h>
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

} // namespace

TEST(ReconnectE2E, readingGoesOnWhenTheInstrumentReturnsUnderTheSameName) {
    QTemporaryDir dir;
    const QByteArray link = dir.filePath("ttyBALANCE").toLocal8Bit();
    auto instrument = std::make_unique<LinkedInstrument>(link);
    QProcess p;
    p.start(QStringLiteral(TALLYRA_BINARY_DIR "/bin/tallyra-cli"),
            {"read", "--port", link, "--count", "5", "--seconds", "60"});
    QByteArray err, out;
    auto waitFor = [&](const QByteArray& seen, const char* text) {
        for (int i = 0; i < 200 && !seen.contains(text); ++i) {
            p.waitForReadyRead(50);
            err += p.readAllStandardError();
            out += p.readAllStandardOutput();
        }
        return seen.contains(text);
    };
    ASSERT_TRUE(waitFor(err, "RTS:")) << err.toStdString();
    instrument->send("ST,+1.00 g\r\nST,+2.00 g\r\nST,+3.");
    ASSERT_TRUE(waitFor(out, "\"2.00\""));
    p.waitForReadyRead(200); // the partial line reaches the program
    instrument.reset();      // unplugged: the line hangs up and the name goes
    ASSERT_TRUE(waitFor(err, "waiting for it to return")) << err.toStdString();
    EXPECT_TRUE(err.contains("<10>ST,+3.")) << "the partial line is logged";
    p.waitForReadyRead(1200); // the name stays away for a few looks
    instrument = std::make_unique<LinkedInstrument>(link);
    ASSERT_TRUE(waitFor(err, "Instrument reconnected")) << err.toStdString();
    instrument->send("ST,+4.00 g\r\nST,+5.00 g\r\nST,+6.00 g\r\n");
    ASSERT_TRUE(p.waitForFinished(20000)) << "--count goes on counting across the return";
    err += p.readAllStandardError();
    out += p.readAllStandardOutput();

    EXPECT_EQ(p.exitCode(), 0) << err.toStdString();
    QStringList values;
    for (const QByteArray& line : out.trimmed().split('\n'))
        values << QJsonDocument::fromJson(line).object().value("value").toString();
    EXPECT_EQ(values, (QStringList{"1.00", "2.00", "4.00", "5.00", "6.00"}));
    EXPECT_EQ(err.count("waiting for it to return"), 1) << err.toStdString();
}
