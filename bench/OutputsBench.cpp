// What the journal and MQTT cost the reading pipeline: a capture of balance lines pushed
// through a simulated port into a reading run (as tallyra-cli replay does), once without
// outputs, once with the journal, once with the journal and MQTT publishing to a private
// mosquitto on loopback. Reports, per mode, the median over the rounds of the lines per second
// up to the last line's delivery (the outputs work on their own threads meanwhile), and the
// time the run then takes to end (the journal's last write and sync, the broker's
// acknowledgements, at most 3 s). The broker runs at the lowest priority, as if it ran on a
// machine of its own.
// Usage: outputs_bench [LINES] [ROUNDS]

#include "config/Config.h"
#include "outputs/MqttPublisher.h"
#include "serdrv_sim.h"
#include "worker/DataLine.h"
#include "worker/ReadingRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

using namespace serwedge::worker;
using serwedge::config::Config;
using serwedge::config::ConfigHelper::Instrument;

namespace {

class CountingView : public WeightWorkerView {
public:
    void logEvent(const QString&) override {}
    void logImportantEvent(const QString& t) override {
        std::fprintf(stderr, "  ! %s\n", t.toUtf8().constData());
    }
    void setConnectedInGUI(bool) override {}
    void update(const DataLine&) override { ++delivered; }
    void showWarning(const QString&, const QString&) override {}
    int delivered = 0;
};

struct Result {
    double linesPerSecond;
    double endMs;
};

Result runOnce(const Config& base, const QByteArray& capture, int lines, const QString& journal,
               int mqttPort) {
    Config config = Config::copyConfig(base);
    if (!journal.isEmpty()) {
        config.outputs.journal = true;
        config.outputs.journalFolder = journal;
    }
    if (mqttPort > 0) {
        config.outputs.mqtt = true;
        config.outputs.mqttHost = QStringLiteral("127.0.0.1");
        config.outputs.mqttPort = QString::number(mqttPort);
        config.outputs.mqttTopic = QStringLiteral("bench/<port>");
    }
    CountingView view;
    ReadingRun run;
    ReadingRun::Options o;
    o.type = false;
    if (run.start(config, &view, o)) {
        std::fprintf(stderr, "the run did not start\n");
        std::exit(1);
    }
    QThread::msleep(200); // the broker connection is made
    QElapsedTimer clock;
    clock.start();
    serdrv_sim_push("bench", reinterpret_cast<const uint8_t*>(capture.constData()),
                    int32_t(capture.size()));
    while (view.delivered < lines && clock.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    const double seconds = clock.nsecsElapsed() / 1e9;
    QElapsedTimer end;
    end.start();
    run.shutdown();
    return {view.delivered / seconds, end.nsecsElapsed() / 1e6};
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;

    QByteArray capture;
    for (int i = 0; i < lines; ++i) {
        char line[32];
        const int n = std::snprintf(line, sizeof line, "ST,%+010.2f  g\r\n", (i % 5000) / 7.0);
        capture.append(line, n);
    }
    serdrv_sim_create("bench");
    Config base;
    base.setPort(QStringLiteral("bench"));
    base.setInstrument(Instrument::GENERIC);
    base.setInputTerminator(10);

    // A private broker on a free loopback port, when mosquitto is there.
    QTemporaryDir dir;
    QProcess broker;
    int mqttPort = 0;
    const QString mosquitto = QStandardPaths::findExecutable(
        QStringLiteral("mosquitto"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (serwedge::outputs::MqttPublisher::availableInThisBuild() && !mosquitto.isEmpty()) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        mqttPort = probe.serverPort();
        probe.close();
        QFile conf(dir.filePath(QStringLiteral("mosquitto.conf")));
        conf.open(QIODevice::WriteOnly);
        conf.write(QByteArray("listener ") + QByteArray::number(mqttPort) +
                   " 127.0.0.1\nallow_anonymous true\n" + (::geteuid() == 0 ? "user root\n" : ""));
        conf.close();
        // A site's broker runs on a machine of its own: here it must not take the processor
        // from the pipeline being measured.
        broker.start(QStringLiteral("nice"), {QStringLiteral("-n"), QStringLiteral("19"), mosquitto,
                                              QStringLiteral("-c"), conf.fileName()});
        broker.waitForStarted();
        QThread::msleep(500);
    } else {
        std::printf("no mosquitto or no MQTT in this build: the MQTT mode is left out\n");
    }

    struct Mode {
        const char* name;
        bool journal;
        bool mqtt;
        std::vector<double> rate, end;
    };
    std::vector<Mode> modes = {{"plain", false, false, {}, {}},
                               {"journal", true, false, {}, {}},
                               {"journal + MQTT", true, true, {}, {}}};
    if (mqttPort == 0)
        modes.pop_back();
    for (int r = 0; r < rounds; ++r) {
        for (Mode& m : modes) {
            QTemporaryDir journal;
            const Result res = runOnce(base, capture, lines, m.journal ? journal.path() : QString(),
                                       m.mqtt ? mqttPort : 0);
            m.rate.push_back(res.linesPerSecond);
            m.end.push_back(res.endMs);
        }
    }
    const double plain = median(modes.front().rate);
    std::printf("%d lines, median of %d rounds:\n", lines, rounds);
    for (const Mode& m : modes) {
        const double rate = median(m.rate);
        std::printf("  %-15s %10.0f lines/s  (%+.1f%% against plain), run ends in %.0f ms\n",
                    m.name, rate, 100.0 * (rate - plain) / plain, median(m.end));
    }
    if (broker.state() != QProcess::NotRunning) {
        broker.terminate();
        broker.waitForFinished(5000);
    }
    serdrv_sim_destroy("bench");
    return 0;
}
