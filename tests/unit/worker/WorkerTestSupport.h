#pragma once

// Shared by the tests of the reading worker: an event loop, a view that records what the worker
// reports, and a bounded wait that keeps the event loop turning.

#include "config/Config.h"
#include "worker/DataLine.h"
#include "worker/WeightWorkerView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <mutex>
#include <vector>

namespace worker_test {

// A reading at 9600 bit/s, 8 data bits, from the instrument's pattern.
inline serwedge::config::Config configFor(const QString& port,
                                          serwedge::config::ConfigHelper::Instrument instrument,
                                          int terminator = 13) {
    serwedge::config::Config c;
    c.setPort(port);
    c.setInstrument(instrument);
    c.setBitRate(7);
    c.setDataBits(3);
    c.setInputTerminator(terminator);
    return c;
}

// The instrument's own default settings, read from the given port.
inline serwedge::config::Config
presetConfigFor(const QString& port, serwedge::config::ConfigHelper::Instrument instrument,
                int terminator = 13) {
    serwedge::config::Config c =
        serwedge::config::ConfigHelper::Instrument(instrument).getDefaultConfig();
    c.setPort(port);
    c.setInstrument(instrument);
    c.setInputTerminator(terminator);
    return c;
}

// Log calls may come from the worker's thread; the rest arrive on the test's thread.
class RecordingView : public serwedge::worker::WeightWorkerView {
public:
    void logEvent(const QString& t) override {
        std::lock_guard l(m);
        events.push_back(t);
    }
    void logImportantEvent(const QString& t) override {
        std::lock_guard l(m);
        important.push_back(t);
    }
    void setConnectedInGUI(bool c) override { connected.push_back(c); }
    void update(const serwedge::worker::DataLine& line) override { lines.push_back(line); }
    void linesDelivered() override { ++batches; }
    void showWarning(const QString& title, const QString& message) override {
        warnings.push_back(title + "|" + message);
    }
    void showPortWaiting(const QString& t) override {
        std::lock_guard l(m);
        waiting.push_back(t);
    }
    std::vector<QString> importantCopy() {
        std::lock_guard l(m);
        return important;
    }

    std::mutex m;
    std::vector<QString> events, important, warnings, waiting;
    std::vector<bool> connected;
    std::vector<serwedge::worker::DataLine> lines;
    int batches = 0; // hand-overs to the user-interface thread
};

inline bool pump(const std::function<bool()>& until, int ms = 10000) {
    QElapsedTimer t;
    t.start();
    while (!until() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return until();
}

} // namespace worker_test
