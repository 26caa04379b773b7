// Fault runs of the reading path: an instrument whose pseudo-terminal closes in the middle of a
// line. The run must end in the documented messages, and the program must be able to read
// again afterwards.

#include "config/Config.h"
#include "worker/DataLine.h"
#include "worker/WeightWorker.h"
#include "worker/WeightWorkerView.h"
#include "worker/WorkerBundle.h"

#include "WorkerTestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

using namespace serwedge::worker;
using serwedge::config::Config;
using serwedge::config::ConfigHelper::Instrument;

using worker_test::presetConfigFor;
using worker_test::pump;
using worker_test::RecordingView;

namespace {

struct Pty {
    Pty() {
        char buffer[256];
        if (openpty(&master, &slave, buffer, nullptr, nullptr) == 0) {
            name = QString::fromLatin1(buffer);
            // A started program must not inherit the instrument's side, or it never hangs up.
            ::fcntl(master, F_SETFD, FD_CLOEXEC);
            ::fcntl(slave, F_SETFD, FD_CLOEXEC);
        }
    }
    ~Pty() {
        closeMaster();
        if (slave >= 0)
            ::close(slave);
    }
    void write(const char* text) const {
        ASSERT_EQ(::write(master, text, std::strlen(text)),
                  static_cast<ssize_t>(std::strlen(text)));
    }
    // The instrument's side goes away: the reader sees a hang-up.
    void closeMaster() {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    int master = -1;
    int slave = -1;
    QString name;
};

// The end of a reading whose instrument went away, in the user's words with the driver's.
QString disconnected() {
    return workerBundle().getString("execution.exception") +
           workerBundle().getString("instrument.disconnected") + " (getByte failed)";
}

} // namespace

TEST(PtyHangUp, workerEndsSayingTheInstrumentWasDisconnectedAndReportsThePartialLine) {
    auto pty = std::make_unique<Pty>();
    ASSERT_FALSE(pty->name.isEmpty());
    // The test's own slave descriptor would keep the line up; only the worker holds it.
    ::close(pty->slave);
    pty->slave = -1;
    RecordingView view;
    Config config = presetConfigFor(pty->name, Instrument::GENERIC);
    config.reconnect = false;
    auto worker = WeightWorker::create(config, &view);
    worker->execute();
    pty->write("ST,+1.25 g\r\nST,+2.");
    ASSERT_TRUE(pump([&] { return view.lines.size() == 1; }));
    // Let the partial line reach the worker's buffer before the far side closes.
    pump([] { return false; }, 200);
    pty->closeMaster();
    ASSERT_TRUE(pump([&] { return worker->isDone(); }));

    EXPECT_EQ(worker->outcome(), BackgroundTaskBase::Outcome::Failed);
    ASSERT_EQ(view.lines.size(), 1u);
    EXPECT_EQ(view.lines[0].getProcessedData(), "1.25");
    const auto important = view.importantCopy();
    ASSERT_EQ(important.size(), 2u);
    EXPECT_EQ(important[0], disconnected());
    EXPECT_EQ(important[1], workerBundle().getString("unsent.data") + " <10>ST,+2.");
    EXPECT_EQ(view.connected, (std::vector<bool>{true, false}));
    worker.reset();

    // The program reads again from the next instrument.
    Pty next;
    RecordingView again;
    auto second = WeightWorker::create(presetConfigFor(next.name, Instrument::GENERIC), &again);
    second->execute();
    next.write("ST,+3.50 g\r\n");
    ASSERT_TRUE(pump([&] { return again.lines.size() == 1; }));
    EXPECT_EQ(again.lines[0].getProcessedData(), "3.50");
    second->cancel(true);
    ASSERT_TRUE(pump([&] { return second->isDone(); }));
    EXPECT_EQ(second->outcome(), BackgroundTaskBase::Outcome::Cancelled);
}

TEST(PtyHangUp, commandLineToolPrintsTheFailureAndExitsWithOne) {
    Pty pty;
    ASSERT_FALSE(pty.name.isEmpty());
    ::close(pty.slave);
    pty.slave = -1;
    QProcess p;
    p.setProgram(QStringLiteral(TALLYRA_BINARY_DIR "/bin/tallyra-cli"));
    p.setArguments({"read", "--port", pty.name, "--seconds", "30", "--no-reconnect"});
    p.start();
    ASSERT_TRUE(p.waitForStarted());
    QByteArray err;
    for (int i = 0; i < 100 && !err.contains("RTS:"); ++i) {
        p.waitForReadyRead(100);
        err += p.readAllStandardError();
    }
    pty.write("ST,+1.25 g\r\nST,+2.");
    QByteArray out;
    for (int i = 0; i < 100 && !out.contains('\n'); ++i) {
        p.waitForReadyRead(100);
        out += p.readAllStandardOutput();
    }
    pty.closeMaster();
    ASSERT_TRUE(p.waitForFinished(20000));
    out += p.readAllStandardOutput();
    err += p.readAllStandardError();

    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1) << err.toStdString();
    const QJsonObject first = QJsonDocument::fromJson(out.split('\n').front()).object();
    EXPECT_EQ(first.value("value").toString(), "1.25") << out.toStdString();
    const QString errText = QString::fromUtf8(err);
    EXPECT_TRUE(errText.contains(disconnected())) << err.toStdString();
    EXPECT_TRUE(errText.contains(workerBundle().getString("unsent.data") + " <10>ST,+2."))
        << err.toStdString();
}
