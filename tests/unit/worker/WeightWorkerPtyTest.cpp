// The reading worker over a pseudo-terminal, as socat and ser2net ports are read.

#include "config/Config.h"
#include "worker/DataLine.h"
#include "worker/WeightWorker.h"
#include "worker/WorkerBundle.h"

#include "WorkerTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <pty.h>
#include <unistd.h>

using namespace serwedge::worker;
using serwedge::config::Config;
using serwedge::config::ConfigHelper::Instrument;

using worker_test::configFor;
using worker_test::pump;
using worker_test::RecordingView;

namespace {} // namespace

TEST(WeightWorker, readsAPseudoTerminal) {
    int master = -1, slave = -1;
    char name[256];
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    RecordingView view;
    auto worker = WeightWorker::create(configFor(name, Instrument::KERN_MPS, 10), &view);
    worker->execute();
    const char data[] = "N  60.24 kg\r\nNET  WEIGHT  3.3kg\r\n";
    ASSERT_EQ(::write(master, data, sizeof data - 1), static_cast<ssize_t>(sizeof data - 1));
    EXPECT_TRUE(pump([&] { return view.lines.size() >= 2; }));
    worker->cancel(true);
    ASSERT_TRUE(pump([&] { return worker->isDone(); }));
    ASSERT_EQ(view.lines.size(), 2u);
    EXPECT_EQ(view.lines[0].getProcessedData(), "60.24");
    EXPECT_EQ(view.lines[1].getProcessedData(), "3.3");
    ::close(slave);
    ::close(master);
}

TEST(WeightWorker, aCommandThePortDoesNotTakeIsOneImportantEventAndReadingGoesOn) {
    int master = -1, slave = -1;
    char name[256];
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    RecordingView view;
    Config c = configFor(name, Instrument::GENERIC);
    // Far more than a pseudo-terminal holds while nobody reads its other side.
    c.setRequestCommand(QString(100000, QLatin1Char('x')));
    c.setRequestMode(serwedge::config::ConfigHelper::RequestMode::INTERVAL);
    c.setRequestIntervalMs(QStringLiteral("100"));
    auto worker = WeightWorker::create(c, &view);
    worker->execute();
    const QString failed = workerBundle().format("request.failed", {c.getRequestCommand()});
    const auto failures = [&] {
        const auto events = view.importantCopy();
        return std::count_if(events.begin(), events.end(),
                             [&](const QString& e) { return e.startsWith(failed); });
    };
    EXPECT_TRUE(pump([&] { return failures() > 0; }));
    ASSERT_EQ(::write(master, "12.5\r", 5), 5);
    EXPECT_TRUE(pump([&] { return view.lines.size() == 1; }));
    worker->cancel(true);
    ASSERT_TRUE(pump([&] { return worker->isDone(); }));
    EXPECT_EQ(failures(), 1);
    EXPECT_EQ(view.lines.at(0).getProcessedData(), "12.5");
    ::close(slave);
    ::close(master);
}
