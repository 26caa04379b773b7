// The reading worker over a pseudo-terminal: latency from the terminator byte written on the
// far side to the line's delivery to the window, over 1,000 lines paced like a 9600-baud
// instrument; and the processor time an open, idle worker uses over 10 seconds.
// Usage: worker_bench [LINES] [IDLE_SECONDS]

#include "config/Config.h"
#include "worker/DataLine.h"
#include "worker/WeightWorker.h"
#include "worker/WeightWorkerView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
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

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop (blocking, not spinning) for a while, so that deliveries arrive.
void pumpFor(std::chrono::milliseconds d) {
    QEventLoop loop;
    QTimer::singleShot(d, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 10;

    int master = -1, slave = -1;
    char name[256];
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }
    Config config;
    config.setPort(name);
    config.setInstrument(Instrument::GENERIC);
    config.setBitRate(7);
    config.setDataBits(3);
    config.setInputTerminator(13);
    TimingView view;
    auto worker = WeightWorker::create(config, &view);
    worker->execute();

    // Latency: a 16-byte line at 9600 baud takes about 17 ms on the wire; the body goes first,
    // the terminator alone, and the time runs from the terminator's write.
    std::vector<Clock::time_point> written;
    written.reserve(static_cast<std::size_t>(lines));
    for (int i = 0; i < lines; ++i) {
        char body[32];
        const int n = std::snprintf(body, sizeof body, "ST,+%07d.%02d g", i, i % 100);
        (void)::write(master, body, static_cast<std::size_t>(n));
        pumpFor(std::chrono::milliseconds(15));
        written.push_back(Clock::now());
        (void)::write(master, "\r", 1);
        pumpFor(std::chrono::milliseconds(2));
    }
    QElapsedTimer wait;
    wait.start();
    while (view.delivered.size() < written.size() && wait.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::vector<double> ms;
    for (std::size_t i = 0; i < std::min(written.size(), view.delivered.size()); ++i)
        ms.push_back(
            std::chrono::duration<double, std::milli>(view.delivered[i] - written[i]).count());
    std::sort(ms.begin(), ms.end());
    if (ms.empty()) {
        std::fprintf(stderr, "no line arrived\n");
        return 1;
    }
    std::printf("latency over %zu lines: median %.2f ms, p99 %.2f ms, max %.2f ms\n", ms.size(),
                ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back());

    // Idle cost: the worker polls an empty port with its 0-4 ms pauses; this thread sleeps.
    const double cpu0 = cpuSeconds();
    const auto t0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    const double cpu = cpuSeconds() - cpu0;
    std::printf("idle: %.3f s processor time in %.1f s = %.2f%% of one core "
                "(the whole process)\n",
                cpu, wall, 100.0 * cpu / wall);

    worker->cancel(true);
    while (!worker->isDone())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ::close(slave);
    ::close(master);
    return 0;
}
