#pragma once

#include "outputs/MqttSettings.h"
#include "outputs/Reading.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace serwedge::outputs {

// The broker as the status bar shows it.
struct BrokerStatus {
    enum class State {
        Unavailable,  // this build has no MQTT
        Connecting,   // connecting (again)
        Connected,    // readings are being delivered
        Disconnected, // the broker cannot be reached or refused us; readings wait
    };
    State state = State::Connecting;
    QString detail; // the reason given by the library or the broker, when there is one
};

// Publishes every reading to an MQTT broker with QoS 1, on a thread of its own, so that no
// caller waits for the network. The payload is the reading's JSON object with "station" (the
// host name), "session" (when this publisher started, milliseconds since 1970) and "seq" (1, 2,
// ... per session): QoS 1 may deliver a message twice, and subscribers drop repeats by
// station, session and seq. While the broker cannot be reached, readings wait in memory up to
// a bound and are sent in order once it is back; beyond the bound the oldest are dropped and
// counted.
class MqttPublisher {
public:
    struct Events {
        // Called on the publisher's thread.
        std::function<void(const BrokerStatus&)> statusChanged;
        std::function<void(quint64 droppedSoFar)> dropped;
    };
    struct Limits {
        qsizetype maxQueued = 10000;
        qsizetype maxQueuedBytes = 64 * 1024 * 1024;
    };

    // False in builds without MQTT; create() then gives a publisher that only reports
    // BrokerStatus::State::Unavailable.
    static bool availableInThisBuild();
    static std::unique_ptr<MqttPublisher>
    create(const MqttSettings& settings, const QString& portName, Events events, Limits limits);
    static std::unique_ptr<MqttPublisher> create(const MqttSettings& settings,
                                                 const QString& portName, Events events) {
        return create(settings, portName, std::move(events), Limits{});
    }

    virtual ~MqttPublisher() = default;

    // Never waits for the network.
    virtual void publish(const Reading& reading) = 0;
    virtual void publish(const std::vector<Reading>& readings) = 0;

    virtual BrokerStatus status() const = 0;
    // Waits until every reading published so far has been acknowledged by the broker (or
    // dropped), or the time is up; true when none is left.
    virtual bool waitUntilDelivered(int timeoutMs) = 0;
    virtual quint64 droppedCount() const = 0;
    // Readings not yet acknowledged by the broker.
    virtual qsizetype waiting() const = 0;
    virtual QString topic() const = 0;
};

} // namespace serwedge::outputs
