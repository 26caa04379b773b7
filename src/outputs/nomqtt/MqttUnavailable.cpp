// Builds without libmosquitto (the Windows build): a publisher that only says it is not there.

#include "outputs/MqttPublisher.h"

namespace serwedge::outputs {

namespace {

class UnavailablePublisher final : public MqttPublisher {
public:
    explicit UnavailablePublisher(const QString& topic) : topic_(topic) {}
    void publish(const Reading&) override {}
    void publish(const std::vector<Reading>&) override {}
    BrokerStatus status() const override { return {BrokerStatus::State::Unavailable, {}}; }
    bool waitUntilDelivered(int) override { return true; }
    quint64 droppedCount() const override { return 0; }
    qsizetype waiting() const override { return 0; }
    QString topic() const override { return topic_; }

private:
    QString topic_;
};

} // namespace

bool MqttPublisher::availableInThisBuild() {
    return false;
}

std::unique_ptr<MqttPublisher> MqttPublisher::create(const MqttSettings& settings,
                                                     const QString& portName, Events, Limits) {
    return std::make_unique<UnavailablePublisher>(settings.topicFor({}, portName));
}

} // namespace serwedge::outputs
