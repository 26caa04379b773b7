#include "worker/RunOutputs.h"

#include "outputs/Journal.h"
#include "outputs/MqttPublisher.h"
#include "worker/DataLine.h"
#include "worker/WeightWorkerView.h"
#include "worker/WorkerBundle.h"

namespace serwedge::worker {

using outputs::BrokerStatus;
using outputs::Journal;
using outputs::JournalReport;
using outputs::MqttPublisher;

namespace {

// How long the end of a run waits for the broker to take what is still waiting.
constexpr int kDeliveryGraceMs = 3000;

} // namespace

RunOutputs::RunOutputs(const config::Config& config, WeightWorkerView* view)
    : view_(view), port_(config.getPort()),
      preset_(config.getInstrument() ? config.getInstrument()->name() : QString()) {
    if (config.outputs.journal)
        openJournal(config.outputs);
    if (config.outputs.mqtt)
        openMqtt(config.outputs);
}

RunOutputs::~RunOutputs() {
    ending_ = true; // the broker's state no longer goes to the log
    if (mqtt_) {
        const bool connected = mqtt_->status().state == BrokerStatus::State::Connected;
        if (!mqtt_->waitUntilDelivered(connected ? kDeliveryGraceMs : 0) && view_) {
            view_->logImportantEvent(workerBundle().format(
                "mqtt.undelivered", {QString::number(mqtt_->waiting()), broker_}));
        }
        const quint64 dropped = mqtt_->droppedCount();
        mqtt_.reset();
        if (dropped > mqttDropsLogged_ && view_) {
            view_->logImportantEvent(
                workerBundle().format("mqtt.dropped", {QString::number(dropped), broker_}));
        }
        if (view_)
            view_->setOutputStatus({});
    } else if (unavailableShown_ && view_) {
        view_->setOutputStatus({});
    }
    if (journal_) {
        // Drops happen only while readings come in: the count is final now.
        const quint64 dropped = journal_->droppedCount();
        journal_.reset(); // writes what waits
        if (dropped > journalDropsLogged_ && view_) {
            view_->logImportantEvent(
                workerBundle().format("journal.dropped", {QString::number(dropped)}));
        }
    }
}

void RunOutputs::openJournal(const config::OutputSettings& settings) {
    outputs::JournalOptions options(settings.journalFolder.isEmpty() ? Journal::defaultFolder()
                                                                     : settings.journalFolder);
    options.retentionDays = settings.journalDaysAsInt();
    const QString folder = options.folder;
    if (view_)
        view_->logEvent(workerBundle().format("journal.started", {folder}));
    journal_ = std::make_unique<Journal>(options, [this](const JournalReport& r) {
        if (!view_)
            return;
        switch (r.kind) {
        case JournalReport::Kind::WriteFailed:
            view_->logImportantEvent(
                workerBundle().format("journal.cannot.write", {r.path, r.detail}));
            break;
        case JournalReport::Kind::Recovered:
            journalDropLogged_ = false;
            view_->logEvent(workerBundle().format("journal.written.again", {r.path}));
            break;
        case JournalReport::Kind::Unwritten:
            view_->logImportantEvent(
                workerBundle().format("journal.unwritten", {QString::number(r.count), r.path}));
            break;
        case JournalReport::Kind::Dropped:
            // The first loss of a failure is told at once, the total when the run ends.
            if (!journalDropLogged_.exchange(true)) {
                journalDropsLogged_ = r.count;
                view_->logImportantEvent(
                    workerBundle().format("journal.dropped", {QString::number(r.count)}));
            }
            break;
        }
    });
}

void RunOutputs::openMqtt(const config::OutputSettings& settings) {
    if (!MqttPublisher::availableInThisBuild()) {
        if (view_) {
            view_->logImportantEvent(workerBundle().getString("mqtt.not.available"));
            view_->setOutputStatus(workerBundle().getString("mqtt.status.not.available"));
            unavailableShown_ = true;
        }
        return;
    }
    if (settings.mqttHost.trimmed().isEmpty()) {
        if (view_)
            view_->logImportantEvent(workerBundle().getString("mqtt.no.host"));
        return;
    }
    outputs::MqttSettings s;
    s.host = settings.mqttHost.trimmed();
    s.port = settings.mqttPortAsInt();
    s.tls = settings.mqttTls;
    s.caFile = settings.mqttCaFile;
    s.user = settings.mqttUser;
    s.password = settings.mqttPassword;
    s.topic = settings.mqttTopic;
    s.retain = settings.mqttRetain;
    broker_ = s.describe();

    MqttPublisher::Events events;
    events.statusChanged = [this](const BrokerStatus& status) {
        if (!view_ || ending_)
            return;
        const int state = int(status.state);
        switch (status.state) {
        case BrokerStatus::State::Connected:
            mqttDropLogged_ = false;
            view_->setOutputStatus(workerBundle().format("mqtt.status.connected", {broker_}));
            if (brokerLogged_.exchange(state) != state)
                view_->logEvent(workerBundle().format("mqtt.connected", {broker_}));
            break;
        case BrokerStatus::State::Connecting:
            view_->setOutputStatus(workerBundle().format("mqtt.status.connecting", {broker_}));
            break;
        case BrokerStatus::State::Disconnected:
            view_->setOutputStatus(
                workerBundle().format("mqtt.status.unreachable", {broker_, status.detail}));
            // One event per outage, not one per attempt to reconnect.
            if (brokerLogged_.exchange(state) != state) {
                view_->logImportantEvent(
                    workerBundle().format("mqtt.unreachable", {broker_, status.detail}));
            }
            break;
        case BrokerStatus::State::Unavailable:
            break;
        }
    };
    events.dropped = [this](quint64 count) {
        if (view_ && !mqttDropLogged_.exchange(true)) {
            mqttDropsLogged_ = count;
            view_->logImportantEvent(
                workerBundle().format("mqtt.dropped", {QString::number(count), broker_}));
        }
    };
    mqtt_ = MqttPublisher::create(s, port_, std::move(events));
}

void RunOutputs::record(const DataLine& line, bool typed, bool ignored) {
    outputs::Reading r;
    r.instant = line.getInstant();
    r.port = port_;
    r.preset = preset_;
    r.count = line.getCount();
    r.raw = line.rawBytes();
    r.value = line.getProcessedData();
    if (line.getStatus())
        r.status = line.getStatus()->name();
    r.error = line.isError();
    r.typed = typed;
    r.ignored = ignored;
    if (journal_)
        journal_->append(r);
    if (mqtt_ && line.hasValue())
        mqtt_->publish(r);
}

} // namespace serwedge::worker
