// The reading worker over a pseudo-terminal, as socat and ser2net ports are read.

#include "config/Config.h"
#include "worker/DataLine.h"
#include "worker/WeightWorker.h"

#include "WorkerTestSupport.h"

#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

using namespace serwedge::worker;
using serwedge::config::Config;
using serwedge::config::ConfigHelper::Instrument;

using worker_test::app;
using worker_test::pump;
using worker_test::RecordingView;

TEST(WeightWorker, readsAPseudoTerminal) {
    app();
    int master = -1, slave = -1;
    char name[256];
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    Config config;
    config.setPort(name);
    config.setInstrument(Instrument::KERN_MPS);
    config.setInputTerminator(10);
    RecordingView view;
    auto worker = WeightWorker::create(config, &view);
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
