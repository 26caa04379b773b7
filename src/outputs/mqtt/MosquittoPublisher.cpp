// MQTT publishing through libmosquitto. One thread of ours owns the library's client and drives
// its network loop on the broker's socket; callers only put readings into the queue and wake it.

#include "outputs/MqttPublisher.h"
#include "outputs/MqttQueue.h"

#include "mqtt/SocketWait.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QSysInfo>

#include <mosquitto.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace serwedge::outputs {

namespace {

Q_LOGGING_CATEGORY(lcMqtt, "tallyra.mqtt", QtWarningMsg)

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kKeepAliveS = 30;
constexpr qsizetype kWindow = 256; // messages handed to the connection and not yet acknowledged
constexpr auto kConnectTimeout = 10s;
constexpr auto kRetryFirst = 500ms;
constexpr auto kRetryMax = 5s;
constexpr auto kDropReportInterval = 1s;
constexpr auto kGather = 5ms;

void initLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

QString errorText(int rc) {
    return QString::fromLocal8Bit(mosquitto_strerror(rc));
}

class MosquittoPublisher final : public MqttPublisher {
public:
    MosquittoPublisher(const MqttSettings& settings, const QString& portName, Events events,
                       Limits limits)
        : settings_(settings), events_(std::move(events)),
          queue_(limits.maxQueued, limits.maxQueuedBytes), station_(QSysInfo::machineHostName()),
          session_(QDateTime::currentMSecsSinceEpoch()) {
        topic_ = settings_.topicFor(station_, portName).toUtf8();
        // "station", "session" and "seq" after the reading's members; seq is appended per message.
        QJsonObject station{{QStringLiteral("station"), station_}};
        extraMembers_ = QJsonDocument(station).toJson(QJsonDocument::Compact);
        extraMembers_ = QByteArray(",") + extraMembers_.mid(1, extraMembers_.size() - 2) +
                        ",\"session\":" + QByteArray::number(session_) + ",\"seq\":";
        initLibrary();
        thread_ = std::thread([this] { run(); });
    }

    ~MosquittoPublisher() override {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wait_.wake();
        thread_.join();
    }

    void publish(const Reading& reading) override {
        bool wake = false;
        {
            std::lock_guard lock(mutex_);
            enqueueLocked(reading);
            wake = takeWakeLocked();
        }
        if (wake)
            wait_.wake();
    }

    void publish(const std::vector<Reading>& readings) override {
        if (readings.empty())
            return;
        bool wake = false;
        {
            std::lock_guard lock(mutex_);
            for (const Reading& r : readings)
                enqueueLocked(r);
            wake = takeWakeLocked();
        }
        if (wake)
            wait_.wake();
    }

    BrokerStatus status() const override {
        std::lock_guard lock(mutex_);
        return status_;
    }

    bool waitUntilDelivered(int timeoutMs) override {
        std::unique_lock lock(mutex_);
        return delivered_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [&] { return queue_.empty(); });
    }

    quint64 droppedCount() const override {
        std::lock_guard lock(mutex_);
        return dropped_;
    }

    qsizetype waiting() const override {
        std::lock_guard lock(mutex_);
        return queue_.size();
    }

    QString topic() const override { return QString::fromUtf8(topic_); }

private:
    enum class Link { Idle, Connecting, Connected };

    void enqueueLocked(const Reading& reading) {
        const qsizetype dropped = queue_.push(++seq_, reading);
        if (dropped > 0) {
            dropped_ += quint64(dropped);
            delivered_.notify_all(); // a dropped message is no longer waited for
        }
    }

    // One wake-up per wait of the thread, not one per reading.
    bool takeWakeLocked() {
        if (wakePending_)
            return false;
        wakePending_ = true;
        return true;
    }

    void run() {
        auto nextAttempt = Clock::now();
        auto retryDelay = std::chrono::milliseconds(kRetryFirst);
        auto lastDropReport = Clock::now() - kDropReportInterval;
        quint64 droppedReported = 0;
        for (;;) {
            quint64 dropped;
            {
                std::lock_guard lock(mutex_);
                if (stop_)
                    break;
                wakePending_ = false;
                dropped = dropped_;
            }
            const auto now = Clock::now();
            if (dropped != droppedReported && now - lastDropReport >= kDropReportInterval) {
                droppedReported = dropped;
                lastDropReport = now;
                if (events_.dropped)
                    events_.dropped(dropped);
            }

            if (lost_) {
                // The next attempt waits, longer after each failure in a row.
                lost_ = false;
                nextAttempt = now + retryDelay;
                retryDelay = std::min<std::chrono::milliseconds>(retryDelay * 2, kRetryMax);
            }
            if (link_ == Link::Idle && now >= nextAttempt)
                startConnect();
            if (link_ == Link::Connecting && now - connectStart_ > kConnectTimeout)
                lose(QStringLiteral("no answer from the broker within %1 s")
                         .arg(std::chrono::seconds(kConnectTimeout).count()));
            if (link_ == Link::Connected) {
                retryDelay = kRetryFirst;
                sendWaiting();
            }

            const int sock = mosq_ ? mosquitto_socket(mosq_) : -1;
            int timeoutMs = 1000; // the library's keep-alive and retries run at least once a second
            if (lost_) {
                timeoutMs = 0;
            } else if (link_ == Link::Idle) {
                timeoutMs = int(std::chrono::duration_cast<std::chrono::milliseconds>(nextAttempt -
                                                                                      Clock::now())
                                    .count());
                timeoutMs = std::clamp(timeoutMs, 0, 1000);
            }
            if (dropped != droppedReported)
                timeoutMs = std::min(timeoutMs, 1000);
            const SocketWait::Result r =
                wait_.wait(sock, sock >= 0 && mosquitto_want_write(mosq_), timeoutMs);
            // Woken for new readings only: let a fast series gather before it is sent, instead
            // of one wake-up per reading.
            if (r.woken && !r.readable && !r.writable)
                std::this_thread::sleep_for(kGather);
            if (link_ == Link::Idle || sock < 0)
                continue;
            int rc = MOSQ_ERR_SUCCESS;
            if (r.readable)
                rc = mosquitto_loop_read(mosq_, 100);
            if (rc == MOSQ_ERR_SUCCESS && r.writable)
                rc = mosquitto_loop_write(mosq_, 1);
            if (rc == MOSQ_ERR_SUCCESS)
                rc = mosquitto_loop_misc(mosq_);
            if (refused_) {
                refused_ = false;
                lose(refusal_);
            } else if (rc != MOSQ_ERR_SUCCESS || disconnected_) {
                lose(rc != MOSQ_ERR_SUCCESS ? errorText(rc)
                                            : QStringLiteral("the broker closed the connection"));
            }
        }
        if (mosq_) {
            if (link_ == Link::Connected) {
                mosquitto_disconnect(mosq_);
                mosquitto_loop_write(mosq_, 1);
            }
            mosquitto_destroy(mosq_);
            mosq_ = nullptr;
        }
    }

    void startConnect() {
        disconnected_ = false;
        refused_ = false;
        mosq_ = mosquitto_new(nullptr, true, this);
        if (!mosq_) {
            lose(errorText(MOSQ_ERR_NOMEM));
            return;
        }
        mosquitto_int_option(mosq_, MOSQ_OPT_TCP_NODELAY, 1);
        // The library's own limit of messages in flight (20) would hold back our window.
        mosquitto_int_option(mosq_, MOSQ_OPT_SEND_MAXIMUM, int(kWindow));
        mosquitto_connect_callback_set(mosq_, &MosquittoPublisher::onConnect);
        mosquitto_disconnect_callback_set(mosq_, &MosquittoPublisher::onDisconnect);
        mosquitto_publish_callback_set(mosq_, &MosquittoPublisher::onPublish);
        int rc = MOSQ_ERR_SUCCESS;
        if (!settings_.user.isEmpty()) {
            rc = mosquitto_username_pw_set(
                mosq_, settings_.user.toUtf8().constData(),
                settings_.password.isEmpty() ? nullptr : settings_.password.toUtf8().constData());
        }
        if (rc == MOSQ_ERR_SUCCESS && settings_.tls) {
            if (settings_.caFile.isEmpty()) {
                rc = mosquitto_int_option(mosq_, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
            } else {
                rc = mosquitto_tls_set(mosq_, settings_.caFile.toLocal8Bit().constData(), nullptr,
                                       nullptr, nullptr, nullptr);
                if (rc != MOSQ_ERR_SUCCESS) {
                    lose(QStringLiteral("the CA file %1 cannot be used").arg(settings_.caFile));
                    return;
                }
            }
        }
        if (rc == MOSQ_ERR_SUCCESS) {
            // While the broker is away the status stays "disconnected" with its reason.
            if (status().state != BrokerStatus::State::Disconnected)
                setStatus(BrokerStatus::State::Connecting, {});
            rc = mosquitto_connect_async(mosq_, settings_.host.toUtf8().constData(), settings_.port,
                                         kKeepAliveS);
        }
        if (rc != MOSQ_ERR_SUCCESS) {
            lose(rc == MOSQ_ERR_EAI
                     ? QStringLiteral("the host name %1 does not resolve").arg(settings_.host)
                     : errorText(rc));
            return;
        }
        link_ = Link::Connecting;
        connectStart_ = Clock::now();
    }

    // Hands waiting messages to the connection, oldest first, up to the window.
    void sendWaiting() {
        std::lock_guard lock(mutex_);
        while (queue_.inFlight() < kWindow) {
            MqttQueue::Message* m = queue_.nextUnsent();
            if (!m)
                break;
            if (m->payload.isEmpty()) {
                QByteArray payload;
                payload.reserve(256 + m->reading.raw.size());
                appendJson(payload, m->reading, extraMembers_ + QByteArray::number(m->seq));
                queue_.setPayload(*m, std::move(payload));
            }
            int mid = 0;
            const int rc =
                mosquitto_publish(mosq_, &mid, topic_.constData(), int(m->payload.size()),
                                  m->payload.constData(), 1, settings_.retain);
            if (rc != MOSQ_ERR_SUCCESS) {
                // The connection broke: the loop notices it and everything is sent again.
                disconnected_ = true;
                break;
            }
            queue_.markSent(*m, mid);
        }
    }

    void lose(const QString& reason) {
        if (mosq_) {
            mosquitto_destroy(mosq_);
            mosq_ = nullptr;
        }
        link_ = Link::Idle;
        lost_ = true;
        disconnected_ = false;
        {
            std::lock_guard lock(mutex_);
            queue_.resendAll();
        }
        qCDebug(lcMqtt) << "broker" << settings_.describe() << "unreachable:" << reason;
        setStatus(BrokerStatus::State::Disconnected, reason);
    }

    void setStatus(BrokerStatus::State state, const QString& detail) {
        {
            std::lock_guard lock(mutex_);
            if (status_.state == state && status_.detail == detail)
                return;
            status_ = BrokerStatus{state, detail};
        }
        if (events_.statusChanged)
            events_.statusChanged(BrokerStatus{state, detail});
    }

    static void onConnect(mosquitto*, void* obj, int rc) {
        auto* self = static_cast<MosquittoPublisher*>(obj);
        if (rc != 0) {
            self->refused_ = true;
            self->refusal_ = QString::fromLocal8Bit(mosquitto_connack_string(rc));
            return;
        }
        self->link_ = Link::Connected;
        {
            std::lock_guard lock(self->mutex_);
            self->queue_.resendAll();
        }
        self->setStatus(BrokerStatus::State::Connected, {});
    }

    static void onDisconnect(mosquitto*, void* obj, int) {
        static_cast<MosquittoPublisher*>(obj)->disconnected_ = true;
    }

    static void onPublish(mosquitto*, void* obj, int mid) {
        auto* self = static_cast<MosquittoPublisher*>(obj);
        std::lock_guard lock(self->mutex_);
        self->queue_.acknowledge(mid);
        if (self->queue_.empty())
            self->delivered_.notify_all();
    }

    const MqttSettings settings_;
    const Events events_;

    mutable std::mutex mutex_;
    std::condition_variable delivered_;
    MqttQueue queue_;
    quint64 seq_ = 0;
    quint64 dropped_ = 0;
    bool wakePending_ = false;
    bool stop_ = false;
    BrokerStatus status_;

    // The publisher's thread only.
    mosquitto* mosq_ = nullptr;
    Link link_ = Link::Idle;
    bool lost_ = false;
    bool disconnected_ = false;
    bool refused_ = false;
    QString refusal_;
    Clock::time_point connectStart_;

    const QString station_;
    const qint64 session_;
    QByteArray topic_;
    QByteArray extraMembers_;
    SocketWait wait_;
    std::thread thread_;
};

} // namespace

bool MqttPublisher::availableInThisBuild() {
    return true;
}

std::unique_ptr<MqttPublisher> MqttPublisher::create(const MqttSettings& settings,
                                                     const QString& portName, Events events,
                                                     Limits limits) {
    return std::make_unique<MosquittoPublisher>(settings, portName, std::move(events), limits);
}

} // namespace serwedge::outputs
