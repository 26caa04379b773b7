#pragma once

#include "config/Config.h"

#include <QString>

#include <atomic>
#include <memory>

namespace serwedge::outputs {
class Journal;
class MqttPublisher;
struct Reading;
} // namespace serwedge::outputs

namespace serwedge::worker {

class DataLine;
class WeightWorkerView;

// The outputs of one run besides the keyboard, as the configuration asks for them: the journal
// of every line and MQTT publishing of every value. What they report (a journal that cannot be
// written, the broker's state) goes to the view as events and as the status text; the run goes
// on whatever happens to them.
class RunOutputs {
public:
    RunOutputs(const config::Config& config, WeightWorkerView* view);
    // Writes what the journal holds and gives the broker a moment to take what waits; what it
    // could not take is reported.
    ~RunOutputs();
    RunOutputs(const RunOutputs&) = delete;
    RunOutputs& operator=(const RunOutputs&) = delete;

    bool any() const { return journal_ || mqtt_; }

    // One delivered line: into the journal, and to the broker when it has a value.
    void record(const DataLine& line, bool typed, bool ignored);

private:
    void openJournal(const config::OutputSettings& settings);
    void openMqtt(const config::OutputSettings& settings);

    WeightWorkerView* view_;
    QString port_;
    QString preset_;
    QString broker_; // host:port, for the messages
    std::unique_ptr<outputs::Journal> journal_;
    std::unique_ptr<outputs::MqttPublisher> mqtt_;
    // Set on the outputs' own threads: one message per trouble, not one per retry.
    std::atomic<bool> journalDropLogged_{false};
    std::atomic<quint64> journalDropsLogged_{0};
    std::atomic<bool> mqttDropLogged_{false};
    std::atomic<quint64> mqttDropsLogged_{0};
    std::atomic<int> brokerLogged_{-1};
    std::atomic<bool> ending_{false};
    bool unavailableShown_ = false; // the status says MQTT is not in this build
};

} // namespace serwedge::worker
