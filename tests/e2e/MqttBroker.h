#pragma once

// A private mosquitto broker on a free loopback port, with a configuration file the test writes
// (not the system service), and a subscriber that keeps its session across broker restarts.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
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

// Waits up to timeoutMs for the condition.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QThread::msleep(20);
    }
    return true;
}

class Broker {
public:
    // tls: the broker's certificate is signed by a test authority, written to caFile().
    explicit Broker(bool tls = false) : port_(freeLoopbackPort()) {
        QString conf = QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\n"
                                      "persistence true\npersistence_location %2/\n")
                           .arg(port_)
                           .arg(dir_.path());
        if (::geteuid() == 0)
            conf += QStringLiteral("user root\n"); // else it drops to a user who cannot write here
        if (tls) {
            makeCertificates();
            conf += QStringLiteral("cafile %1\ncertfile %2\nkeyfile %3\n")
                        .arg(caFile(), path("server.crt"), path("server.key"));
        }
        QFile f(path("mosquitto.conf"));
        f.open(QIODevice::WriteOnly);
        f.write(conf.toUtf8());
        f.close();
        start();
    }
    ~Broker() { stop(); }

    void start() {
        process_.setProgram(QStringLiteral(MOSQUITTO_PROGRAM));
        process_.setArguments({QStringLiteral("-c"), path("mosquitto.conf")});
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start();
        ASSERT_TRUE(process_.waitForStarted(5000)) << "mosquitto cannot be started";
        ASSERT_TRUE(waitFor([this] { return accepts(); }, 5000))
            << process_.readAll().toStdString();
    }
    // Ends the broker as a service stop does; it saves its sessions and queued messages.
    void stop() {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }

    int port() const { return port_; }
    QString caFile() const { return path("ca.crt"); }
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

private:
    bool accepts() const {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(uint16_t(port_));
        const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        ::close(s);
        return ok;
    }

    void openssl(const QStringList& args) {
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        p.start(QStringLiteral("openssl"), args);
        ASSERT_TRUE(p.waitForFinished(20000) && p.exitCode() == 0)
            << "openssl " << args.join(' ').toStdString();
    }

    void makeCertificates() {
        const QStringList ec = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                                "-nodes"};
        openssl(QStringList{"req", "-x509"} + ec +
                QStringList{"-keyout", "ca.key", "-out", "ca.crt", "-days", "2", "-subj",
                            "/CN=Tallyra test CA"});
        openssl(
            QStringList{"req"} + ec +
            QStringList{"-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=localhost"});
        QFile ext(path("ext"));
        ext.open(QIODevice::WriteOnly);
        ext.write("subjectAltName=DNS:localhost,IP:127.0.0.1\n");
        ext.close();
        openssl({"x509", "-req", "-in", "server.csr", "-CA", "ca.crt", "-CAkey", "ca.key",
                 "-CAcreateserial", "-out", "server.crt", "-days", "2", "-extfile", "ext"});
    }

    QTemporaryDir dir_;
    int port_;
    QProcess process_;
};

// Collects the payloads of one topic with QoS 1 in a persistent session: messages published
// while it is away are kept for it by the broker.
class Subscriber {
public:
    Subscriber(const Broker& broker, const QString& topic, bool tls = false)
        : topic_(topic.toUtf8()) {
        mosquitto_lib_init();
        const std::string id = "tallyra-test-sub-" + std::to_string(::getpid());
        mosq_ = mosquitto_new(id.c_str(), false, this);
        if (tls)
            mosquitto_tls_set(mosq_, broker.caFile().toLocal8Bit().constData(), nullptr, nullptr,
                              nullptr, nullptr);
        mosquitto_reconnect_delay_set(mosq_, 1, 1, false);
        mosquitto_connect_callback_set(mosq_, [](mosquitto* m, void* obj, int rc) {
            if (rc == 0)
                mosquitto_subscribe(m, nullptr, static_cast<Subscriber*>(obj)->topic_.constData(),
                                    1);
        });
        mosquitto_subscribe_callback_set(mosq_, [](mosquitto*, void* obj, int, int, const int*) {
            auto* self = static_cast<Subscriber*>(obj);
            std::lock_guard lock(self->mutex_);
            self->subscribed_ = true;
        });
        mosquitto_message_callback_set(
            mosq_, [](mosquitto*, void* obj, const mosquitto_message* m) {
                auto* self = static_cast<Subscriber*>(obj);
                const QByteArray payload(static_cast<const char*>(m->payload), m->payloadlen);
                std::lock_guard lock(self->mutex_);
                self->messages_.push_back(QJsonDocument::fromJson(payload).object());
            });
        EXPECT_EQ(mosquitto_connect(mosq_, "127.0.0.1", broker.port(), 30), MOSQ_ERR_SUCCESS);
        mosquitto_loop_start(mosq_);
        EXPECT_TRUE(waitFor(
            [this] {
                std::lock_guard lock(mutex_);
                return subscribed_;
            },
            5000));
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
    // The "seq" numbers received, repeats (QoS 1 may deliver twice) left out.
    std::vector<int> sequence() {
        std::vector<int> seqs;
        for (const QJsonObject& o : messages()) {
            const int seq = o.value("seq").toInt();
            if (std::find(seqs.begin(), seqs.end(), seq) == seqs.end())
                seqs.push_back(seq);
        }
        return seqs;
    }

private:
    QByteArray topic_;
    mosquitto* mosq_ = nullptr;
    std::mutex mutex_;
    bool subscribed_ = false;
    std::vector<QJsonObject> messages_;
};

} // namespace mqtttest
