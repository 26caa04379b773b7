// The reading worker over a pseudo-terminal:
//  - latency from the terminator byte written on the far side to the line's delivery to the
//    window, over LINES lines paced like a 9600-baud instrument (median, 99th percentile, max);
//  - what an open, idle worker costs the whole process over IDLE_SECONDS (processor time from
//    getrusage as a share of one core, and context switches per second);
//  - how long a Stop takes to end the reading, while it waits for bytes and while the far side
//    writes as fast as it can.
// Usage: worker_bench [LINES] [IDLE_SECONDS]   (defaults 1000, 60)

#include "config/Config.h"
#include "worker/DataLine.h"
#include "worker/WeightWorker.h"
#include "worker/WeightWorkerView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace serwedge::worker;
using serwedge::config::Config;
using serwedge::config::ConfigHelper::Instrument;
using Clock = std::chrono::steady_clock;

namespace {

class TimingView : public WeightWorkerView {
public:
    void logEvent(const QString&) override {}
    void logImportantEvent(const QString& t) override {
        std::fprintf(stderr, "! %s\n", t.toUtf8().constData());
    }
    void setConnectedInGUI(bool) override {}
    void update(const DataLine&) override { delivered.push_back(Clock::now()); }
    void showWarning(const QString&, const QString&) override {}
    std::vector<Clock::time_point> delivered;
};

struct Usage {
    double cpu;
    long switches;
};

Usage usage() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return {u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6,
            u.ru_nvcsw + u.ru_nivcsw};
}

// Runs the event loop (blocking, not spinning) for a while, so that deliveries arrive.
void pumpFor(std::chrono::milliseconds d) {
    QEventLoop loop;
    QTimer::singleShot(d, &loop, &QEventLoop::quit);
    loop.exec();
}

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Pty {
    Pty() {
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
            std::perror("openpty");
    }
    ~Pty() {
        ::close(slave);
        ::close(master);
    }
    int master = -1, slave = -1;
    char name[256] = {};
};

Config configFor(const char* port) {
    Config config;
    config.setPort(port);
    config.setInstrument(Instrument::GENERIC);
    config.setBitRate(7);
    config.setDataBits(3);
    config.setInputTerminator(13);
    return config;
}

// Cancels the worker and measures until its thread has ended and until its completion ran.
std::pair<double, double> stopTimes(WeightWorker& worker) {
    const auto t0 = Clock::now();
    worker.cancel(true);
    worker.waitForFinished(std::chrono::seconds(10));
    const auto ended = Clock::now();
    while (!worker.isDone())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return {ms(ended - t0), ms(Clock::now() - t0)};
}

void printStops(const char* what, std::vector<std::pair<double, double>> stops) {
    std::sort(stops.begin(), stops.end());
    double doneMax = 0;
    for (const auto& s : stops)
        doneMax = std::max(doneMax, s.second);
    std::printf("stop %s, %zu runs: reading ended after median %.1f ms, max %.1f ms; "
                "completion ran after at most %.1f ms\n",
                what, stops.size(), stops[stops.size() / 2].first, stops.back().first, doneMax);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 60;
    double load[3] = {};
    if (getloadavg(load, 3) == 3)
        std::printf("load average at start: %.2f %.2f %.2f\n", load[0], load[1], load[2]);

    Pty pty;
    TimingView view;
    auto worker = WeightWorker::create(configFor(pty.name), &view);
    worker->execute();

    // Latency: a 16-byte line at 9600 baud takes about 17 ms on the wire; the body goes first,
    // the terminator alone, and the time runs from the terminator's write.
    std::vector<Clock::time_point> written;
    written.reserve(static_cast<std::size_t>(lines));
    for (int i = 0; i < lines; ++i) {
        char body[32];
        const int n = std::snprintf(body, sizeof body, "ST,+%07d.%02d g", i, i % 100);
        (void)::write(pty.master, body, static_cast<std::size_t>(n));
        pumpFor(std::chrono::milliseconds(15));
        written.push_back(Clock::now());
        (void)::write(pty.master, "\r", 1);
        pumpFor(std::chrono::milliseconds(2));
    }
    QElapsedTimer wait;
    wait.start();
    while (view.delivered.size() < written.size() && wait.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::vector<double> latency;
    for (std::size_t i = 0; i < std::min(written.size(), view.delivered.size()); ++i)
        latency.push_back(ms(view.delivered[i] - written[i]));
    std::sort(latency.begin(), latency.end());
    if (latency.empty()) {
        std::fprintf(stderr, "no line arrived\n");
        return 1;
    }
    std::printf("latency over %zu lines: median %.2f ms, p99 %.2f ms, max %.2f ms\n",
                latency.size(), latency[latency.size() / 2], latency[latency.size() * 99 / 100],
                latency.back());

    // Idle cost: the worker waits in the driver for bytes that do not come; this thread sleeps.
    const Usage before = usage();
    const auto t0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    const Usage after = usage();
    std::printf("idle over %.1f s (whole process): %.3f s processor time = %.3f%% of one core, "
                "%.1f context switches per second\n",
                wall, after.cpu - before.cpu, 100.0 * (after.cpu - before.cpu) / wall,
                static_cast<double>(after.switches - before.switches) / wall);

    // Stop while the worker waits for bytes, at different points of its wait.
    std::vector<std::pair<double, double>> stops{stopTimes(*worker)};
    worker.reset();
    for (int i = 0; i < 9; ++i) {
        auto w = WeightWorker::create(configFor(pty.name), &view);
        w->execute();
        std::this_thread::sleep_for(std::chrono::milliseconds(35 + 23 * i));
        stops.push_back(stopTimes(*w));
    }
    printStops("while waiting for bytes", stops);

    // Stop while the far side writes lines as fast as the pseudo-terminal takes them.
    stops.clear();
    for (int i = 0; i < 10; ++i) {
        std::atomic<bool> writing{true};
        ::fcntl(pty.master, F_SETFL, ::fcntl(pty.master, F_GETFL) | O_NONBLOCK);
        std::thread writer([&] {
            const char chunk[] = "ST,+0001234.56 g\r\nST,+0001234.57 g\r\nST,+0001234.58 g\r\n";
            while (writing) {
                if (::write(pty.master, chunk, sizeof chunk - 1) < 0) {
                    pollfd p{pty.master, POLLOUT, 0};
                    ::poll(&p, 1, 10); // full: as soon as the reader has taken some
                }
            }
        });
        view.delivered.clear();
        auto w = WeightWorker::create(configFor(pty.name), &view);
        w->execute();
        pumpFor(std::chrono::milliseconds(300));
        stops.push_back(stopTimes(*w));
        writing = false;
        writer.join();
        ::fcntl(pty.master, F_SETFL, ::fcntl(pty.master, F_GETFL) & ~O_NONBLOCK);
        tcflush(pty.slave, TCIFLUSH);
    }
    printStops("under a saturated port", stops);
    if (getloadavg(load, 3) == 3)
        std::printf("load average at end: %.2f %.2f %.2f\n", load[0], load[1], load[2]);
    return 0;
}
