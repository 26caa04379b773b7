#pragma once

// The fixture of the automatic port detection tests: simulated devices, a recording view.

#include "../rs232/SerialTestSupport.h"

#include "worker/AutoPortWorker.h"
#include "worker/WorkerBundle.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <vector>

namespace autoport_test {

using serwedge::worker::AutoPortWorker;
using serwedge::worker::AutoPortWorkerView;
using serwedge::worker::workerBundle;

class RecordingView : public AutoPortWorkerView {
public:
    void setButtonToCancel() override { events.push_back("button:Cancel"); }
    void setButtonToClose() override { events.push_back("button:Close"); }
    void setPort(const QString& portName) override { selected.push_back(portName); }
    void update(const QString& text, Style style) override {
        lines.push_back(text);
        emphasised.push_back(style == Style::Emphasised);
    }
    std::vector<QString> events;
    std::vector<QString> selected;
    std::vector<QString> lines;
    std::vector<bool> emphasised;
};

inline QString text(const char* key) {
    return workerBundle().getString(key);
}
inline QString testingPort(const QString& port) {
    return workerBundle().format("testing.port.0", {port});
}
inline QString confidence(int score) {
    return text("confidence") + " " + QString::number(score);
}

// A simulated device with fixed input lines, or a loop-back plug.
struct Device {
    const char* name;
    bool dsr = false;
    bool cts = false;
    bool loopback = false;
};

class AutoPortDetection : public serialtest::SerialFixture {
protected:
    void SetUp() override { SerialFixture::SetUp(); }

    static void create(const Device& d) {
        serdrv_sim_create(d.name);
        serdrv_sim_set_line(d.name, SERDRV_SIM_DSR, d.dsr);
        serdrv_sim_set_line(d.name, SERDRV_SIM_CTS, d.cts);
        serdrv_sim_set_loopback(d.name, d.loopback);
    }

    bool pumpUntilDone(const AutoPortWorker& worker) {
        QElapsedTimer t;
        t.start();
        while (!worker.isDone() && t.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return worker.isDone();
    }

    void run(const QStringList& ports) {
        AutoPortWorker worker(&view, ports);
        worker.execute();
        ASSERT_TRUE(pumpUntilDone(worker));
        EXPECT_EQ(worker.outcome(), AutoPortWorker::Outcome::Finished);
    }

    RecordingView view;
};

} // namespace autoport_test
