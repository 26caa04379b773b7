#pragma once

// A private mosquitto broker on a free loopback port, run with a configuration file the test
// writes (not the system service), and a subscriber that keeps its session across restarts.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <mosquitto.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace mqtttest {

inline int freeLoopbackPort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(s, reinterpret_cast<sockaddr*>(&a), len);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(s);
    return ntohs(a.sin_port);
}

inline bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QThread::msleep(20);
    }
    return true;
}

// The broker keeps sessions and queued messages on disk, so that a stop and a start lose none.
// With tls its certificate is signed by a test authority, written to caFile().
class Broker {
public:
    explicit Broker(bool tls = false) : port_(freeLoopbackPort()) {
        QString conf = QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\n"
                                      "persistence true\npersistence_location %2/\n")
                           .arg(port_)
                           .arg(dir_.path());
        if (::geteuid() == 0)
            conf += "user root\n"; // else it drops to a user who cannot write here
        if (tls) {
            // An authority, and a certificate for 127.0.0.1 signed by it.
            QProcess openssl;
            openssl.setWorkingDirectory(dir_.path());
            openssl.start("sh",
                          {"-ec", R"(ec="-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes"
                openssl req -x509 $ec -keyout ca.key -out ca.crt -days 2 -subj /CN=TestCA
                openssl req $ec -keyout srv.key -out srv.csr -subj /CN=localhost
                echo subjectAltName=IP:127.0.0.1 > ext
                openssl x509 -req -in srv.csr -CA ca.crt -CAkey ca.key -CAcreateserial \
                    -out srv.crt -days 2 -extfile ext)"});
            EXPECT_TRUE(openssl.waitForFinished(30000) && openssl.exitCode() == 0);
            conf += QStringLiteral("cafile %1\ncertfile %2\nkeyfile %3\n")
                        .arg(caFile(), path("srv.crt"), path("srv.key"));
        }
        QFile f(path("mosquitto.conf"));
        f.open(QIODevice::WriteOnly);
        f.write(conf.toUtf8());
        f.close();
        start();
    }
    ~Broker() { stop(); }

    void start() {
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(MOSQUITTO_PROGRAM, {"-c", path("mosquitto.conf")});
        QByteArray log;
        EXPECT_TRUE(waitFor(
            [&] {
                process_.waitForReadyRead(50);
                log += process_.readAll();
                return log.contains(" running");
            },
            5000))
            << log.toStdString();
    }
    // Ends the broker as a service stop does: it saves what it holds.
    void stop() {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished(2000);
    }

    int port() const { return port_; }
    QString caFile() const { return path("ca.crt"); }
    QString path(const char* name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    int port_;
    QProcess process_;
};

// Collects the JSON payloads of one topic with QoS 1 in a persistent session.
class Subscriber {
public:
    Subscriber(const Broker& broker, const char* topic, bool tls = false) : topic_(topic) {
        mosquitto_lib_init();
        mosq_ = mosquitto_new(("tallyra-test-" + std::to_string(::getpid())).c_str(), false, this);
        if (tls)
            mosquitto_tls_set(mosq_, broker.caFile().toLocal8Bit().constData(), nullptr, nullptr,
                              nullptr, nullptr);
        mosquitto_reconnect_delay_set(mosq_, 1, 1, false);
        mosquitto_connect_callback_set(mosq_, [](mosquitto* m, void* obj, int rc) {
            if (rc == 0)
                mosquitto_subscribe(m, nullptr, static_cast<Subscriber*>(obj)->topic_, 1);
        });
        mosquitto_subscribe_callback_set(mosq_, [](mosquitto*, void* obj, int, int, const int*) {
            static_cast<Subscriber*>(obj)->subscribed_ = true;
        });
        mosquitto_message_callback_set(mosq_, [](mosquitto*, void* obj,
                                                 const mosquitto_message* m) {
            auto* self = static_cast<Subscriber*>(obj);
            const auto payload = QByteArray(static_cast<const char*>(m->payload), m->payloadlen);
            std::lock_guard lock(self->mutex_);
            self->messages_.push_back(QJsonDocument::fromJson(payload).object());
        });
        EXPECT_EQ(mosquitto_connect(mosq_, "127.0.0.1", broker.port(), 30), MOSQ_ERR_SUCCESS);
        mosquitto_loop_start(mosq_);
        EXPECT_TRUE(waitFor([this] { return bool(subscribed_); }, 5000));
    }
    ~Subscriber() {
        mosquitto_disconnect(mosq_);
        mosquitto_loop_stop(mosq_, false);
        mosquitto_destroy(mosq_);
    }

    std::vector<QJsonObject> messages() {
        std::lock_guard lock(mutex_);
        return messages_;
    }
    // The "seq" numbers received, repeats left out (QoS 1 may deliver a message twice).
    std::vector<int> sequence() {
        std::vector<int> seqs;
        for (const QJsonObject& o : messages()) {
            if (std::find(seqs.begin(), seqs.end(), o.value("seq").toInt()) == seqs.end())
                seqs.push_back(o.value("seq").toInt());
        }
        return seqs;
    }

private:
    const char* topic_;
    mosquitto* mosq_ = nullptr;
    std::atomic<bool> subscribed_{false};
    std::mutex mutex_;
    std::vector<QJsonObject> messages_;
};

} // namespace mqtttest
