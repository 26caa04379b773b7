// tallyra-cli reading a pseudo-terminal, as it reads socat and ser2net ports.

#include "CliTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include <pty.h>
#include <unistd.h>

using clitest::lines;

TEST(Cli, readsAPseudoTerminalUntilTheCount) {
    int master = -1, slave = -1;
    char name[256];
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    QProcess p;
    p.setProgram(QStringLiteral(TALLYRA_BINARY_DIR "/bin/tallyra-cli"));
    p.setArguments(
        {"read", "--port", name, "--count", "2", "--seconds", "20", "--sound", "CLAVES"});
    p.start();
    ASSERT_TRUE(p.waitForStarted());
    // Write once the port is open (the opening discards what came before).
    QByteArray err;
    for (int i = 0; i < 100 && !err.contains("RTS:"); ++i) {
        p.waitForReadyRead(100);
        err += p.readAllStandardError();
    }
    const char data[] = "ST,+1.25 g\r\nST,+2.50 g\r\nST,+3.75 g\r\n";
    ASSERT_EQ(::write(master, data, sizeof data - 1), static_cast<ssize_t>(sizeof data - 1));
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0);
    const QStringList got = lines(p.readAllStandardOutput());
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[0], "1|ST,+1.25 g<13>|1.25|-");
    // The sound is opened as the window opens it; these machines have no audio device, so it
    // is reported and reading goes on without it.
    if (!QFile::exists(QStringLiteral("/dev/snd"))) {
        EXPECT_TRUE(err.contains("sound output cannot be used")) << err.toStdString();
    }
    ::close(slave);
    ::close(master);
}
