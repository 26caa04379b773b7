// Fault runs of the reading path: a simulated device with random parity and framing errors.
// Exactly the marked lines are flagged, and every indication is logged once.

#include "config/Config.h"
#include "serdrv_sim.h"
#include "worker/DataLine.h"
#include "worker/WeightWorker.h"
#include "worker/WeightWorkerView.h"
#include "worker/WorkerBundle.h"

#include "WorkerTestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <map>
#include <random>

using namespace serwedge::worker;
using serwedge::config::Config;
using serwedge::config::ConfigHelper::Instrument;

using worker_test::presetConfigFor;
using worker_test::pump;
using worker_test::RecordingView;

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
    auto worker = WeightWorker::create(presetConfigFor(port, instrument), &view);
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
