// Fault runs of the reading path: an instrument whose pseudo-terminal closes in the middle of a
// line, and a simulated device with random parity and framing errors. Each must end in the
// documented messages, and the program must be able to read again afterwards.

#include "config/Config.h"
#include "serdrv_sim.h"
#include "worker/DataLine.h"
#include "worker/WeightWorker.h"
#include "worker/WeightWorkerView.h"
#include "worker/WorkerBundle.h"

#include "WorkerTestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <fcntl.h>
#include <functional>
#include <map>
#include <mutex>
#include <pty.h>
#include <random>
#include <unistd.h>

using namespace serwedge::worker;
using serwedge::config::Config;
using serwedge::config::ConfigHelper::Instrument;

using worker_test::pump;
using worker_test::RecordingView;

namespace {

Config configFor(const QString& port, Instrument instrument, int terminator = 13) {
    Config c = Instrument(instrument).getDefaultConfig();
    c.setPort(port);
    c.setInstrument(instrument);
    c.setInputTerminator(terminator);
    return c;
}

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
    Config config = configFor(pty->name, Instrument::GENERIC);
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
    auto second = WeightWorker::create(configFor(next.name, Instrument::GENERIC), &again);
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

// Random bytes of random lines carry parity or framing errors; exactly the lines with a marked
// byte are flagged, and every indication is logged once.
class RandomLineErrors : public ::testing::TestWithParam<Instrument::Value> {};

TEST_P(RandomLineErrors, eachMarkedLineIsFlaggedAndNoOther) {
    const Instrument instrument(GetParam());
    const bool text =
        instrument.getInstrumentType() != serwedge::config::ConfigHelper::InstrumentType::NUMBER;
    const char* port = "FAULT-NOISE";
    serdrv_sim_destroy(port);
    serdrv_sim_create(port);
    RecordingView view;
    auto worker = WeightWorker::create(configFor(port, instrument), &view);
    worker->execute();

    std::mt19937 random(GetParam() * 7919 + 11);
    constexpr int kLines = 400;
    std::map<int, bool> marked; // line number -> marked
    int parityMarks = 0, framingMarks = 0;
    for (int n = 1; n <= kLines; ++n) {
        const QByteArray line = QStringLiteral("ST,+%1.%2 g\r\n")
                                    .arg(n, 6, 10, QLatin1Char('0'))
                                    .arg(n % 100, 2, 10, QLatin1Char('0'))
                                    .toLatin1();
        // A mark on the LF belongs to the next line, since CR ends this one.
        const int bytesOfLine = static_cast<int>(line.size()) - 1;
        const bool mark = random() % 5 == 0;
        const int at = mark ? static_cast<int>(random() % bytesOfLine) : -1;
        for (int i = 0; i < line.size(); ++i) {
            if (i == at) {
                if (random() % 2) {
                    serdrv_sim_mark_parity_error(port);
                    ++parityMarks;
                } else {
                    serdrv_sim_mark_framing_error(port);
                    ++framingMarks;
                }
            }
            serdrv_sim_push(port, reinterpret_cast<const uint8_t*>(line.constData() + i), 1);
        }
        marked[n] = mark;
    }
    ASSERT_TRUE(pump([&] { return view.lines.size() >= static_cast<std::size_t>(kLines); }));
    worker->cancel(true);
    ASSERT_TRUE(pump([&] { return worker->isDone(); }));
    serdrv_sim_destroy(port);

    ASSERT_EQ(view.lines.size(), static_cast<std::size_t>(kLines));
    int flagged = 0;
    for (const DataLine& line : view.lines) {
        EXPECT_EQ(line.isError(), marked[line.getCount()]) << "line " << line.getCount();
        flagged += line.isError();
        EXPECT_TRUE(line.hasValue()) << "line " << line.getCount();
    }
    EXPECT_GT(flagged, 0);
    const QString parity =
        text ? QStringLiteral("Parity Error") : workerBundle().getString("parity.error");
    const QString framing =
        text ? QStringLiteral("Framing Error") : workerBundle().getString("framing.error");
    // Stopping reports the LF that began the next line as unsent; nothing else but the
    // indications is logged.
    std::vector<QString> important = view.importantCopy();
    ASSERT_FALSE(important.empty());
    EXPECT_EQ(important.back(), workerBundle().getString("unsent.data") + " <10>");
    important.pop_back();
    int parityLogged = 0, framingLogged = 0;
    for (const QString& t : important) {
        parityLogged += t == parity;
        framingLogged += t == framing;
        EXPECT_TRUE(t == parity || t == framing) << t.toStdString();
    }
    EXPECT_EQ(parityLogged, parityMarks);
    EXPECT_EQ(framingLogged, framingMarks);
    EXPECT_EQ(view.connected, (std::vector<bool>{true, false}));
}

INSTANTIATE_TEST_SUITE_P(NumericAndText, RandomLineErrors,
                         ::testing::Values(Instrument::GENERIC, Instrument::BARCODE_ALPHA));
