// MQTT publishing against a real mosquitto broker on loopback: order, a broker that goes away
// and comes back, TLS with a test authority, and brokers that misbehave.

#include "MqttBroker.h"

#include "outputs/MqttPublisher.h"

#include <QDir>

#include <atomic>
#include <fcntl.h>
#include <numeric>
#include <pty.h>

namespace {

using mqtttest::Broker;
using mqtttest::Subscriber;
using mqtttest::waitFor;
using serwedge::outputs::BrokerStatus;
using serwedge::outputs::MqttPublisher;
using serwedge::outputs::MqttSettings;
using serwedge::outputs::Reading;
using State = BrokerStatus::State;

MqttSettings settingsFor(int port, const QString& topic = QStringLiteral("lab/<port>")) {
    MqttSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = port;
    s.topic = topic;
    return s;
}

Reading reading(int n) {
    Reading r;
    r.instant = QDateTime::currentDateTime();
    r.port = QStringLiteral("COM3");
    r.preset = QStringLiteral("GENERIC_NUMBER");
    r.count = n;
    r.raw = QStringLiteral("ST,+%1.00 g\r\n").arg(n);
    r.value = QStringLiteral("%1.00").arg(n);
    return r;
}

std::vector<int> oneTo(int n) {
    std::vector<int> v(size_t(n), 0);
    std::iota(v.begin(), v.end(), 1);
    return v;
}

TEST(MqttE2E, everyReadingArrivesInOrderWithItsJournalFields) {
    Broker broker;
    Subscriber subscriber(broker, "lab/COM3");
    auto publisher = MqttPublisher::create(settingsFor(broker.port()), QStringLiteral("COM3"), {});
    for (int i = 1; i <= 200; ++i)
        publisher->publish(reading(i));
    ASSERT_TRUE(publisher->waitUntilDelivered(10000));
    ASSERT_TRUE(waitFor([&] { return subscriber.messages().size() >= 200; }, 10000));
    EXPECT_EQ(subscriber.sequence(), oneTo(200));
    EXPECT_EQ(publisher->status().state, State::Connected);

    const QJsonObject first = subscriber.messages().front();
    EXPECT_EQ(first.value("value").toString(), "1.00");
    EXPECT_EQ(first.value("raw").toString(), "ST,+1.00 g\r\n");
    EXPECT_EQ(first.value("port").toString(), "COM3");
    EXPECT_FALSE(first.value("station").toString().isEmpty());
    EXPECT_GT(first.value("session").toDouble(), 0);
}

// The whole road: an instrument on a pseudo-terminal, tallyra-cli read as a headless station
// (no typing, nothing printed), the broker and the journal.
TEST(MqttE2E, aHeadlessStationPublishesEveryValueAndKeepsTheJournal) {
    Broker broker;
    Subscriber subscriber(broker, "site/+/reading");
    int master = -1;
    int slave = -1;
    char name[128] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    QTemporaryDir journal;
    QProcess cli;
    cli.start(QStringLiteral(TALLYRA_BINARY_DIR "/bin/tallyra-cli"),
              {"read", "--port", name, "--count", "50", "--quiet", "--journal", journal.path(),
               "--mqtt",
               QStringLiteral("mqtt://127.0.0.1:%1/site/<port>/reading").arg(broker.port())});
    // Written once the port is open, since opening discards what is waiting.
    QByteArray log;
    ASSERT_TRUE(waitFor(
        [&] {
            cli.waitForReadyRead(50);
            log += cli.readAllStandardError();
            return log.contains("DSR");
        },
        10000))
        << log.toStdString();
    for (int i = 1; i <= 50; ++i) {
        const QByteArray line =
            QStringLiteral("ST,+%1.25  g\r\n").arg(i, 6, 10, QChar(u'0')).toLatin1();
        ASSERT_EQ(::write(master, line.constData(), size_t(line.size())), line.size());
        QThread::msleep(5);
    }
    ASSERT_TRUE(cli.waitForFinished(15000));
    EXPECT_EQ(cli.exitCode(), 0) << (log + cli.readAllStandardError()).toStdString();
    EXPECT_TRUE(cli.readAllStandardOutput().isEmpty());
    ::close(master);
    ::close(slave);

    ASSERT_TRUE(waitFor([&] { return subscriber.sequence().size() >= 50; }, 5000));
    EXPECT_EQ(subscriber.sequence(), oneTo(50));
    std::vector<QString> values;
    for (const QJsonObject& m : subscriber.messages())
        values.push_back(m.value("value").toString());
    EXPECT_EQ(values.front(), "1.25");
    EXPECT_EQ(values.back(), "50.25");

    const QStringList files = QDir(journal.path()).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1);
    QFile f(QDir(journal.path()).filePath(files.front()));
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll().count('\n'), 50);
}

TEST(MqttE2E, aBrokerAwayForFiveSecondsLosesNoReading) {
    Broker broker;
    Subscriber subscriber(broker, "lab/COM3");
    std::vector<BrokerStatus> seen;
    std::mutex seenMutex;
    MqttPublisher::Events events;
    events.statusChanged = [&](const BrokerStatus& s) {
        std::lock_guard lock(seenMutex);
        seen.push_back(s);
    };
    auto publisher =
        MqttPublisher::create(settingsFor(broker.port()), QStringLiteral("COM3"), events);

    // 10 readings a second for 9 s; the broker is stopped from 2 s to 7 s.
    for (int i = 1; i <= 90; ++i) {
        if (i == 20)
            broker.stop();
        if (i == 70)
            broker.start();
        publisher->publish(reading(i));
        QThread::msleep(100);
    }
    ASSERT_TRUE(publisher->waitUntilDelivered(20000));
    ASSERT_TRUE(waitFor([&] { return subscriber.sequence().size() >= 90; }, 20000))
        << subscriber.sequence().size() << " readings arrived";
    EXPECT_EQ(subscriber.sequence(), oneTo(90));
    EXPECT_EQ(publisher->droppedCount(), 0u);

    std::lock_guard lock(seenMutex);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen.front().state, State::Connected);
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](const BrokerStatus& s) {
        return s.state == State::Disconnected && !s.detail.isEmpty();
    }));
    EXPECT_EQ(seen.back().state, State::Connected);
}

TEST(MqttE2E, tlsWithTheSiteAuthorityDeliversAndAStrangerIsRefused) {
    Broker broker(true);
    Subscriber subscriber(broker, "lab/COM3", true);
    MqttSettings s = settingsFor(broker.port());
    s.tls = true;
    s.caFile = broker.caFile();
    auto publisher = MqttPublisher::create(s, QStringLiteral("COM3"), {});
    for (int i = 1; i <= 5; ++i)
        publisher->publish(reading(i));
    ASSERT_TRUE(publisher->waitUntilDelivered(10000));
    ASSERT_TRUE(waitFor([&] { return subscriber.sequence().size() >= 5; }, 5000));
    EXPECT_EQ(subscriber.sequence(), oneTo(5));

    // Without TLS, or trusting another authority, nothing is delivered and the status says so.
    Broker other(true);
    MqttSettings plain = settingsFor(broker.port());
    MqttSettings stranger = s;
    stranger.caFile = other.caFile();
    for (const MqttSettings& bad : {plain, stranger}) {
        auto p = MqttPublisher::create(bad, QStringLiteral("COM3"), {});
        p->publish(reading(99));
        EXPECT_FALSE(p->waitUntilDelivered(1500));
        EXPECT_EQ(p->status().state, State::Disconnected);
        EXPECT_FALSE(p->status().detail.isEmpty());
    }
    EXPECT_EQ(subscriber.sequence(), oneTo(5));
}

// A loopback server that is no broker (socat): it answers every connection with 64 KiB of
// garbage, or closes it at once.
struct FakeBroker {
    explicit FakeBroker(const char* reply) : port(mqtttest::freeLoopbackPort()) {
        process.start("socat",
                      {QStringLiteral("TCP-LISTEN:%1,bind=127.0.0.1,fork,reuseaddr").arg(port),
                       QString::fromLatin1(reply)});
        QThread::msleep(300);
    }
    ~FakeBroker() {
        process.kill();
        process.waitForFinished();
    }
    int port;
    QProcess process;
};

TEST(MqttE2E, aBrokerThatMisbehavesOrCannotBeFoundKeepsReadingsWithinTheBound) {
    FakeBroker garbage("SYSTEM:head -c 65536 /dev/urandom");
    FakeBroker closing("EXEC:/bin/true");
    MqttSettings unresolvable = settingsFor(1883);
    unresolvable.host = QStringLiteral("no-such-broker.invalid");
    const struct {
        const char* name;
        MqttSettings settings;
        const char* detail;
    } cases[] = {
        {"garbage", settingsFor(garbage.port), ""},
        {"closes at once", settingsFor(closing.port), ""},
        {"unresolvable", unresolvable, "does not resolve"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::atomic<quint64> droppedReported{0};
        MqttPublisher::Events events;
        events.dropped = [&](quint64 n) { droppedReported = n; };
        auto publisher = MqttPublisher::create(c.settings, QStringLiteral("COM3"), events,
                                               MqttPublisher::Limits{100, 1 << 20});
        for (int i = 1; i <= 1000; ++i)
            publisher->publish(reading(i));
        EXPECT_TRUE(waitFor([&] { return droppedReported == 900; }, 5000));
        EXPECT_EQ(publisher->droppedCount(), 900u);
        ASSERT_TRUE(
            waitFor([&] { return publisher->status().state == State::Disconnected; }, 5000));
        EXPECT_TRUE(publisher->status().detail.contains(QLatin1String(c.detail)))
            << publisher->status().detail.toStdString();
    }
}

} // namespace
