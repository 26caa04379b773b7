// An instrument that floods the port: lines written on a pseudo-terminal as fast as 921,600 baud
// carries them (92,160 bytes a second), read by a reading run whose view shows every line in the
// window's event log, as the window does. Measures whether the window stays responsive (how
// late a 10 ms timer of the user-interface thread fires), what the process's memory does, and
// how long a Stop then takes. A second run floods without any terminator, where the line cap
// must hold the memory.
// Usage: flood_bench [SECONDS]   (default 10; QT_QPA_PLATFORM=offscreen needs no display)

#include "config/Config.h"
#include "serwedge/EventLog.h"
#include "worker/DataLine.h"
#include "worker/ReadingRun.h"
#include "worker/WeightWorker.h"
#include "worker/WeightWorkerView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace serwedge::worker;
using serwedge::config::Config;
using serwedge::config::ConfigHelper::Instrument;
using Clock = std::chrono::steady_clock;

namespace {

long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return -1;
}

// The window's part of a delivered line: the event log entry and the line counter.
class LogView : public WeightWorkerView {
public:
    explicit LogView(serwedge::EventLog& log) : log_(log) {}
    void logEvent(const QString& t) override { log_.logEvent(t); }
    void logImportantEvent(const QString& t) override { log_.logImportantEvent(t); }
    void setConnectedInGUI(bool c) override { connected = c; }
    void update(const DataLine& line) override {
        log_.displayLine(line);
        lastCount = line.getCount();
        ++lines;
    }
    void showWarning(const QString&, const QString&) override {}
    long lines = 0;
    int lastCount = 0;
    bool connected = false;

private:
    serwedge::EventLog& log_;
};

struct Result {
    long written = 0;
    long delivered = 0;
    double lateP99 = 0, lateMax = 0;
    long rssStart = 0, rssPeak = 0, rssEnd = 0;
    double stopMs = 0;
};

Result flood(serwedge::EventLog& log, int seconds, bool terminated) {
    int master = -1, slave = -1;
    char name[256];
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::perror("openpty");
        std::exit(1);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    Config config;
    config.setPort(name);
    config.setInstrument(Instrument::GENERIC);
    config.setInputTerminator(13);
    LogView view(log);
    ReadingRun run;
    ReadingRun::Options options;
    options.type = false;
    Result r;
    if (run.start(config, &view, options)) {
        std::fprintf(stderr, "the run did not start\n");
        std::exit(1);
    }

    // 921,600 baud: 92,160 bytes a second, written in 5 ms slices.
    std::atomic<bool> writing{true};
    std::atomic<long> written{0};
    std::thread writer([&] {
        const QByteArray line = terminated ? "ST,+0001234.56 g\r\n" : "ST,+0001234.56 g  ";
        const auto start = Clock::now();
        long sent = 0;
        QByteArray pending;
        while (writing) {
            const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            // What the port does not take in time is lost, as on a real line.
            while (pending.size() < 4096 &&
                   sent + pending.size() < static_cast<long>(elapsed * 92160))
                pending += line;
            if (!pending.isEmpty()) {
                const ssize_t n = ::write(master, pending.constData(), pending.size());
                if (n > 0) {
                    sent += n;
                    pending.remove(0, n);
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        written = sent;
    });

    std::vector<double> late;
    r.rssStart = r.rssPeak = residentKiB();
    QElapsedTimer since;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (since.isValid())
            late.push_back(std::max(0.0, since.nsecsElapsed() / 1e6 - 10.0));
        since.start();
        r.rssPeak = std::max(r.rssPeak, residentKiB());
    });
    tick.start(10);
    QTimer::singleShot(seconds * 1000, [] { QApplication::quit(); });
    QApplication::exec();
    tick.stop();

    const auto t0 = Clock::now();
    run.stop();
    while (run.isReading())
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    r.stopMs = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    writing = false;
    writer.join();
    r.written = written;
    r.delivered = view.lines;
    r.rssEnd = residentKiB();
    std::sort(late.begin(), late.end());
    if (!late.empty()) {
        r.lateP99 = late[late.size() * 99 / 100];
        r.lateMax = late.back();
    }
    ::close(slave);
    ::close(master);
    return r;
}

void print(const char* what, const Result& r, int seconds) {
    std::printf("%s: %ld bytes written in %d s, %ld lines shown; 10 ms timer late by p99 %.1f ms, "
                "max %.1f ms; resident memory %ld KiB at start, peak %ld KiB, %ld KiB after; "
                "Stop took %.1f ms until the run had ended\n",
                what, r.written, seconds, r.delivered, r.lateP99, r.lateMax, r.rssStart, r.rssPeak,
                r.rssEnd, r.stopMs);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    double load[3] = {};
    if (getloadavg(load, 3) == 3)
        std::printf("load average at start: %.2f %.2f %.2f\n", load[0], load[1], load[2]);
    serwedge::EventLog log;
    log.resize(800, 400);
    log.show();
    print("lines at 921,600 baud", flood(log, seconds, true), seconds);
    print("no terminator at 921,600 baud", flood(log, seconds, false), seconds);
    if (getloadavg(load, 3) == 3)
        std::printf("load average at end: %.2f %.2f %.2f\n", load[0], load[1], load[2]);
    return 0;
}
