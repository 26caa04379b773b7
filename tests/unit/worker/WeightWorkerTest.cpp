#include "worker/WeightWorker.h"
#include "config/Config.h"
#include "worker/ByteSource.h"
#include "worker/DataLine.h"
#include "worker/WeightWorkerView.h"
#include "worker/WorkerBundle.h"

#include "rs232/IOException.h"
#include "serdrv_sim.h"

#include "WorkerTestSupport.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <mutex>
#include <thread>

using namespace serwedge::worker;
using serwedge::config::Config;
using serwedge::config::ConfigHelper::Instrument;
using namespace std::chrono_literals;

using worker_test::configFor;
using worker_test::pump;
using worker_test::RecordingView;

namespace {

class SimPort {
public:
    explicit SimPort(const char* name) : name_(name) {
        serdrv_sim_destroy(name);
        serdrv_sim_create(name);
    }
    ~SimPort() { serdrv_sim_destroy(name_); }
    void push(const QByteArray& bytes) const {
        serdrv_sim_push(name_, reinterpret_cast<const uint8_t*>(bytes.constData()),
                        static_cast<int32_t>(bytes.size()));
    }
    bool drained() const { return serdrv_sim_pending(name_) == 0; }
    // What the program wrote since the last call.
    QByteArray written() const {
        char buffer[4096];
        const int32_t n =
            serdrv_sim_read_written(name_, reinterpret_cast<uint8_t*>(buffer), sizeof buffer);
        return QByteArray(buffer, n > 0 ? n : 0);
    }
    const char* name() const { return name_; }

private:
    const char* name_;
};

// Runs a worker over the bytes until they are read, then stops it as the window's Stop does.
std::unique_ptr<WeightWorker> runOver(const SimPort& port, const Config& config,
                                      RecordingView& view, const QByteArray& bytes,
                                      std::size_t expectLines) {
    auto worker = WeightWorker::create(config, &view);
    port.push(bytes);
    worker->execute();
    EXPECT_TRUE(pump([&] { return port.drained() && view.lines.size() >= expectLines; }));
    worker->cancel(true);
    EXPECT_TRUE(pump([&] { return worker->isDone(); }));
    return worker;
}

} // namespace

TEST(WeightWorker, openingLogsThePortAndDrivesTheLines) {
    SimPort port("WW-OPEN");
    RecordingView view;
    auto worker = runOver(port, configFor(port.name(), Instrument::GENERIC), view, "", 0);
    ASSERT_GE(view.events.size(), 3u);
    EXPECT_TRUE(view.events[0].contains("WW-OPEN") && view.events[0].contains("9600"))
        << view.events[0].toStdString();
    EXPECT_EQ(view.events[1], "RTS: off, DTR: on. DSR: off, CTS: off.");
    EXPECT_EQ(view.events.back(), workerBundle().getString("stopped"));
    EXPECT_EQ(view.connected, (std::vector<bool>{true, false}));
    EXPECT_EQ(serdrv_sim_get_line(port.name(), SERDRV_SIM_DTR), 1);
    EXPECT_EQ(serdrv_sim_is_open(port.name()), 0);
}

TEST(WeightWorker, linesAreCutAtTheTerminatorNumberedAndPublishedInOrder) {
    SimPort port("WW-LINES");
    RecordingView view;
    runOver(port, configFor(port.name(), Instrument::GENERIC), view,
            "\rST,+000012.34 g\r\nST,-1.5 g\r\n", 3);
    ASSERT_EQ(view.lines.size(), 3u);
    // A terminator alone is a line of its own, without a value.
    EXPECT_EQ(view.lines[0].rawBytes(), "\r");
    EXPECT_EQ(view.lines[0].getProcessedData(), "");
    EXPECT_EQ(view.lines[0].getCount(), 1);
    EXPECT_EQ(view.lines[1].getProcessedData(), "12.34");
    EXPECT_EQ(view.lines[1].getCount(), 2);
    // With CR as terminator the LF of CR LF starts the next line.
    EXPECT_EQ(view.lines[2].getRawData(), "<10>ST,-1.5 g<13>");
    EXPECT_EQ(view.lines[2].getProcessedData(), "-1.5");
    EXPECT_EQ(view.lines[2].getCount(), 3);
    // The LF after the last CR is still waiting when the worker stops.
    EXPECT_EQ(view.important.back(), workerBundle().getString("unsent.data") + " <10>");
}

TEST(WeightWorker, parityAndFramingErrorsMarkOnlyTheirLine) {
    SimPort port("WW-PARITY");
    RecordingView view;
    auto worker = WeightWorker::create(configFor(port.name(), Instrument::GENERIC), &view);
    port.push("1");
    serdrv_sim_mark_parity_error(port.name());
    port.push("2\r3\r");
    serdrv_sim_mark_framing_error(port.name());
    port.push("4\r");
    worker->execute();
    ASSERT_TRUE(pump([&] { return view.lines.size() >= 3; }));
    worker->cancel(true);
    ASSERT_TRUE(pump([&] { return worker->isDone(); }));
    EXPECT_TRUE(view.lines[0].isError());
    EXPECT_FALSE(view.lines[1].isError());
    EXPECT_TRUE(view.lines[2].isError());
    const auto important = view.importantCopy();
    EXPECT_EQ(
        std::count(important.begin(), important.end(), workerBundle().getString("parity.error")),
        1);
    EXPECT_EQ(
        std::count(important.begin(), important.end(), workerBundle().getString("framing.error")),
        1);
}

TEST(WeightWorker, failingLineIsLoggedDroppedAndReadingGoesOn) {
    SimPort port("WW-FAIL");
    RecordingView view;
    Config c = configFor(port.name(), Instrument::GENERIC);
    c.setCustomRegEx(R"((\d+)?y)"); // group 1 takes no part unless digits come first
    runOver(port, c, view, "y\r34y\r", 1);
    ASSERT_EQ(view.lines.size(), 1u);
    EXPECT_EQ(view.lines[0].getCount(), 2);
    EXPECT_EQ(view.lines[0].getRawData(), "34y<13>"); // the failed line did not stay in front
    EXPECT_EQ(view.lines[0].getProcessedData(), "34");
    const auto important = view.importantCopy();
    ASSERT_FALSE(important.empty());
    // One kind, then the message.
    EXPECT_EQ(
        important[0],
        R"(Error [WW]: Group error: group 1 of the pattern (\d+)?y took no part in the match)");
}

TEST(WeightWorker, valueThatIsNotANumberFailsThatLineOnly) {
    SimPort port("WW-NAN");
    RecordingView view;
    Config c = configFor(port.name(), Instrument::GENERIC);
    c.setCustomRegEx(R"(V=(\S+))");
    runOver(port, c, view, "V=12.5-\rV=7\r", 1);
    ASSERT_EQ(view.lines.size(), 1u);
    EXPECT_EQ(view.lines[0].getProcessedData(), "7");
    EXPECT_EQ(view.lines[0].getCount(), 2);
    const auto important = view.importantCopy();
    ASSERT_EQ(important.size(), 1u);
    EXPECT_TRUE(important[0].startsWith("Error [WW]: Number format error"))
        << important[0].toStdString();
}

TEST(WeightWorker, barcodeValuesKeepTheirBlanksAndNumericValuesLoseThem) {
    SimPort port("WW-BARCODE");
    RecordingView view;
    runOver(port, configFor(port.name(), Instrument::BARCODE_ALPHA_COMPLETE), view, " AB 12 C \r",
            1);
    ASSERT_EQ(view.lines.size(), 1u);
    EXPECT_EQ(view.lines[0].getProcessedData(), " AB 12 C ");

    SimPort port2("WW-NUMBER");
    RecordingView view2;
    runOver(port2, configFor(port2.name(), Instrument::ADAM_CPWPLUS), view2, "G/W:+ 60.24   kg\r",
            1);
    ASSERT_EQ(view2.lines.size(), 1u);
    EXPECT_EQ(view2.lines[0].getProcessedData(), "60.24");
}

TEST(WeightWorker, andWorkerWarnsForEachStateOfItsLines) {
    struct Case {
        bool dsr, cts;
        const char* key;
    };
    const Case cases[] = {{false, false, "and.error.not.connected"},
                          {true, false, "and.error.unusual"},
                          {false, true, "and.error.dataset.not.ready"},
                          {true, true, nullptr}};
    for (const Case& c : cases) {
        SimPort port("WW-AND");
        serdrv_sim_set_line(port.name(), SERDRV_SIM_DSR, c.dsr);
        serdrv_sim_set_line(port.name(), SERDRV_SIM_CTS, c.cts);
        RecordingView view;
        auto worker = WeightWorker::create(configFor(port.name(), Instrument::AND_EM, 10), &view);
        ASSERT_NE(dynamic_cast<WeightWorkerAnd*>(worker.get()), nullptr);
        if (c.key) {
            ASSERT_EQ(view.warnings.size(), 1u);
            EXPECT_EQ(view.warnings[0],
                      workerBundle().getString("warning") + "|" + workerBundle().getString(c.key));
        } else {
            EXPECT_TRUE(view.warnings.empty());
        }
        EXPECT_EQ(serdrv_sim_get_line(port.name(), SERDRV_SIM_RTS), 1); // left on
    }
}

TEST(WeightWorker, variantFollowsThePreset) {
    SimPort port("WW-VARIANT");
    RecordingView view;
    auto barcode = WeightWorker::create(configFor(port.name(), Instrument::BARCODE), &view);
    EXPECT_NE(dynamic_cast<WeightWorkerBarcode*>(barcode.get()), nullptr);
    barcode.reset();
    auto simple = WeightWorker::create(configFor(port.name(), Instrument::AND_SIMPLE), &view);
    EXPECT_EQ(dynamic_cast<WeightWorkerAnd*>(simple.get()), nullptr);
    EXPECT_EQ(dynamic_cast<WeightWorkerBarcode*>(simple.get()), nullptr);
}

TEST(WeightWorker, anOverlongLineIsDiscardedUpToItsTerminatorAndReadingGoesOn) {
    SimPort port("WW-CAP");
    RecordingView view;
    // Nothing of the overlong line, not even what follows the cap, is taken for a value.
    QByteArray bytes = "12.5" + QByteArray(70000, ' ') + "99\r";
    bytes += "5\r";
    runOver(port, configFor(port.name(), Instrument::GENERIC), view, bytes, 1);
    ASSERT_EQ(view.lines.size(), 1u);
    EXPECT_EQ(view.lines[0].getCount(), 1); // the discarded bytes took no number
    EXPECT_EQ(view.lines[0].getRawData(), "5<13>");
    const auto important = view.importantCopy();
    ASSERT_EQ(important.size(), 1u);
    EXPECT_TRUE(important[0].contains(QString::number(WeightWorker::kMaxLineLength)))
        << important[0].toStdString();
}

TEST(WeightWorker, linesThatArriveTogetherAreHandedOverTogetherAndTheReadingWaitsForTheWindow) {
    SimPort port("WW-BATCH");
    RecordingView view;
    auto worker = WeightWorker::create(configFor(port.name(), Instrument::GENERIC), &view);
    constexpr int kLines = 20000;
    QByteArray bytes;
    for (int i = 1; i <= kLines; ++i)
        bytes += "ST,+" + QByteArray::number(i) + ".5 g\r";
    port.push(bytes);
    worker->execute();
    // The window takes nothing for now: the reading stops once enough lines wait for it.
    QElapsedTimer t;
    t.start();
    while (worker->lastLineNumber() < static_cast<int>(WeightWorker::kMaxWaitingLines) &&
           t.elapsed() < 10000)
        std::this_thread::sleep_for(10ms);
    std::this_thread::sleep_for(200ms);
    EXPECT_LT(worker->lastLineNumber(), kLines);
    EXPECT_FALSE(port.drained());

    ASSERT_TRUE(pump([&] { return view.lines.size() >= kLines; }));
    worker->cancel(true);
    ASSERT_TRUE(pump([&] { return worker->isDone(); }));
    ASSERT_EQ(view.lines.size(), static_cast<std::size_t>(kLines));
    for (int i = 0; i < kLines; ++i)
        ASSERT_EQ(view.lines[i].getCount(), i + 1);
    EXPECT_EQ(view.lines.back().getProcessedData(), QString::number(kLines) + ".5");
    // Many lines per hand-over, not one each.
    EXPECT_LT(view.batches, kLines / 100) << view.batches << " hand-overs";
}

TEST(WeightWorker, openFailuresAndMissingPortAreReportedAndLeaveTheViewIdle) {
    RecordingView view;
    Config c = configFor("", Instrument::GENERIC);
    c.setPort(QString());
    try {
        WeightWorker::create(c, &view);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), workerBundle().getString("null.port.error"));
    }
    SimPort port("WW-BUSY");
    serdrv_sim_fail_next_opens(port.name(), 1002, 1);
    try {
        WeightWorker::create(configFor(port.name(), Instrument::GENERIC), &view);
        FAIL();
    } catch (const rs232::IOException& e) {
        EXPECT_EQ(std::string(e.what()), "WW-BUSY: SerOpenPort failed: Port is in use");
    }
    EXPECT_TRUE(view.connected.empty());
    Config bad = configFor(port.name(), Instrument::GENERIC);
    bad.setCustomRegEx("([0-9]+");
    EXPECT_THROW(WeightWorker::create(bad, &view), InvalidSettingError);
    EXPECT_EQ(serdrv_sim_is_open(port.name()), 0);
}

TEST(WeightWorker, unpluggedDeviceEndsTheRunWithTheFailure) {
    SimPort port("WW-UNPLUG");
    RecordingView view;
    Config config = configFor(port.name(), Instrument::GENERIC);
    config.reconnect = false;
    auto worker = WeightWorker::create(config, &view);
    port.push("12");
    worker->execute();
    ASSERT_TRUE(pump([&] { return port.drained(); }));
    serdrv_sim_unplug(port.name());
    ASSERT_TRUE(pump([&] { return worker->isDone(); }));
    EXPECT_EQ(worker->outcome(), BackgroundTaskBase::Outcome::Failed);
    const auto important = view.importantCopy();
    ASSERT_GE(important.size(), 2u);
    EXPECT_TRUE(important[0].startsWith(workerBundle().getString("execution.exception")));
    EXPECT_EQ(important[1], workerBundle().getString("unsent.data") + " 12");
    EXPECT_EQ(view.connected.back(), false);
}

TEST(WeightWorker, requestCommandsGoOutOnStartAtIntervalsAndOnDemand) {
    using serwedge::config::ConfigHelper::RequestMode;
    const auto run = [](Instrument preset, RequestMode mode, const char* expected,
                        const std::function<void(WeightWorker&)>& ask = {}) {
        SimPort port("WW-REQUEST");
        RecordingView view;
        Config c = configFor(port.name(), preset, 10);
        c.takeRequestDefaultsOf(preset);
        c.setRequestMode(mode);
        c.setRequestIntervalMs(QStringLiteral("100"));
        auto worker = WeightWorker::create(c, &view);
        worker->execute();
        if (ask) // from another thread, as the window's buttons ask
            std::thread([&] { ask(*worker); }).join();
        QByteArray got;
        EXPECT_TRUE(pump([&] { return (got += port.written()).startsWith(expected); }))
            << preset.name().toStdString() << ": " << got.toStdString();
        worker->cancel(true);
        EXPECT_TRUE(pump([&] { return worker->isDone(); }));
        return got + port.written();
    };
    // The Mitutoyo's data command goes out once after opening.
    EXPECT_EQ(run(Instrument::MITUTOYO, RequestMode::ON_START, "1\r"), "1\r");
    EXPECT_EQ(run(Instrument::METTLER_DIALOG, RequestMode::INTERVAL, "SI\r\nSI\r\nSI\r\n")
                  .replace("SI\r\n", ""),
              "");
    // Asked for on demand; the Kern has no zero command, so nothing is written for it.
    EXPECT_EQ(run(Instrument::KERN_572, RequestMode::ON_DEMAND, "wt",
                  [](WeightWorker& w) {
                      w.sendCommand(WeightWorker::Command::Zero);
                      w.sendCommand(WeightWorker::Command::Request);
                      w.sendCommand(WeightWorker::Command::Tare);
                  }),
              "wt");
}

TEST(WeightWorker, recordedBytesStreamThroughInBlocksOfAnySizeUntilTheirEnd) {
    QByteArray capture;
    for (int i = 1; i <= 300; ++i)
        capture += "\nST,+" + QByteArray::number(i) + ".25 g\r";
    capture += "\nST,+9"; // no terminator: left over at the end
    const auto replay = [&](std::size_t blockSize) {
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(capture);
        buffer->open(QIODevice::ReadOnly);
        RecordingView view;
        Config c = configFor("", Instrument::GENERIC);
        c.setPort(QString()); // no port is opened for recorded bytes
        auto worker = WeightWorker::create(
            c, &view, std::make_unique<StreamSource>(std::move(buffer), blockSize));
        worker->execute();
        EXPECT_TRUE(pump([&] { return worker->isDone(); }));
        EXPECT_EQ(worker->outcome(), BackgroundTaskBase::Outcome::Finished);
        EXPECT_EQ(view.importantCopy(),
                  std::vector<QString>{workerBundle().getString("unsent.data") + " <10>ST,+9"});
        std::vector<QString> got;
        for (const DataLine& line : view.lines)
            got.push_back(QString::number(line.getCount()) + "|" + line.getProcessedData());
        return got;
    };
    const std::vector<QString> whole = replay(StreamSource::kDefaultBlockSize);
    ASSERT_EQ(whole.size(), 300u);
    EXPECT_EQ(whole.back(), "300|300.25");
    EXPECT_EQ(replay(3), whole);
    EXPECT_EQ(replay(1), whole);
}

// Unplugged in the middle of a line and plugged in again: the partial line is logged, the wait
// is told once however long it lasts, the numbering goes on. Unplugged for good, the run waits
// until it is stopped.
TEST(WeightWorker, aPortThatGoesAwayIsWaitedForAndReadingGoesOnWhenItReturns) {
    SimPort port("WW-REPLUG");
    RecordingView view;
    auto worker = WeightWorker::create(configFor(port.name(), Instrument::GENERIC), &view);
    port.push("ST,+1.5 g\rST,+2");
    worker->execute();
    ASSERT_TRUE(pump([&] { return view.lines.size() == 1 && port.drained(); }));
    serdrv_sim_unplug(port.name());
    ASSERT_TRUE(pump([&] { return view.importantCopy().size() == 2; }));
    pump([] { return false; }, 3 * WeightWorker::kReconnectPoll.count()); // several looks
    serdrv_sim_replug(port.name());
    ASSERT_TRUE(pump([&] { return view.importantCopy().size() == 3; }));
    port.push("ST,+3.5 g\r");
    ASSERT_TRUE(pump([&] { return view.lines.size() == 2; }));
    EXPECT_EQ(view.lines[1].getCount(), 2);
    EXPECT_EQ(view.lines[1].getProcessedData(), "3.5");

    serdrv_sim_unplug(port.name());
    ASSERT_TRUE(pump([&] { return view.importantCopy().size() == 4; }));
    worker->cancel(true);
    ASSERT_TRUE(pump([&] { return worker->isDone(); }));
    EXPECT_EQ(worker->outcome(), BackgroundTaskBase::Outcome::Cancelled);
    const QString waiting = workerBundle().format("instrument.disconnected.waiting", {port.name()});
    EXPECT_EQ(view.importantCopy(),
              (std::vector<QString>{workerBundle().getString("unsent.data") + " ST,+2", waiting,
                                    workerBundle().getString("instrument.reconnected"), waiting}));
    EXPECT_EQ(view.waiting, (std::vector<QString>{waiting, "", waiting}));
    EXPECT_EQ(view.connected, (std::vector<bool>{true, false}));
    EXPECT_EQ(std::count(view.events.begin(), view.events.end(),
                         "WW-REPLUG: Simulated serial port - Tallyra"),
              1)
        << "the returned device's record is read afresh";
}
