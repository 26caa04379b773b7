// Flapping port: an instrument unplugged and plugged in again, over and over, while a reading
// runs with reconnect on. Counts the process's open descriptors, threads and resident memory
// once the first connection stands and again after the last return, and checks that the line
// sent after each return arrived.
//
// The default instrument is a pseudo-terminal behind a link that is removed and made anew (a
// new pseudo-terminal each time, as a replugged USB adapter is a new device); --sim flaps a
// simulated device instead.
//
// Usage: reconnect_flap_harness [--cycles N] [--period-ms MS] [--sim]
// Exit status 0 when every line arrived and no descriptor or thread was left behind.

#include "config/Config.h"
#include "serdrv_sim.h"
#include "worker/DataLine.h"
#include "worker/WeightWorker.h"
#include "worker/WeightWorkerView.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <string>
#include <thread>
#include <unistd.h>

using namespace serwedge::worker;
using serwedge::config::Config;

namespace {

long statusField(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(std::strlen(field)))
                .trimmed()
                .split(' ')
                .front()
                .toLong();
    return -1;
}

long openDescriptors() {
    return static_cast<long>(QDir(QStringLiteral("/proc/self/fd"))
                                 .entryList(QDir::NoDotAndDotDot | QDir::System)
                                 .size());
}

class CountingView : public WeightWorkerView {
public:
    void logEvent(const QString&) override {}
    void logImportantEvent(const QString& text) override {
        if (text.contains(QLatin1String("reconnected")))
            ++returns;
    }
    void setConnectedInGUI(bool) override {}
    void update(const DataLine& line) override {
        if (line.getProcessedData() == QLatin1String("1.25"))
            ++lines;
    }
    void showWarning(const QString&, const QString&) override {}
    std::atomic<int> returns{0};
    int lines = 0;
};

// The instrument: a pseudo-terminal behind a link, or a simulated device.
class Instrument {
public:
    Instrument(bool simulated, std::string link) : sim_(simulated), link_(std::move(link)) {
        if (sim_)
            serdrv_sim_create(link_.c_str());
        else
            plug();
    }
    ~Instrument() {
        if (sim_)
            serdrv_sim_destroy(link_.c_str());
        else
            unplug();
    }
    const std::string& name() const { return link_; }
    void plug() {
        if (sim_) {
            serdrv_sim_replug(link_.c_str());
            return;
        }
        int slave = -1;
        char path[256];
        if (openpty(&master_, &slave, path, nullptr, nullptr) != 0)
            std::perror("openpty");
        ::close(slave);
        ::fcntl(master_, F_SETFD, FD_CLOEXEC);
        if (::symlink(path, link_.c_str()) != 0)
            std::perror("symlink");
    }
    void unplug() {
        if (sim_) {
            serdrv_sim_unplug(link_.c_str());
            return;
        }
        ::close(master_);
        master_ = -1;
        ::unlink(link_.c_str());
    }
    void send(const char* text) {
        if (sim_)
            serdrv_sim_push(link_.c_str(), reinterpret_cast<const uint8_t*>(text),
                            static_cast<int32_t>(std::strlen(text)));
        else if (::write(master_, text, std::strlen(text)) < 0)
            std::perror("write");
    }

private:
    bool sim_;
    std::string link_;
    int master_ = -1;
};

bool pumpUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int cycles = 100;
    int periodMs = 600; // 100 flaps in a minute
    bool simulated = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--cycles") && i + 1 < argc)
            cycles = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--period-ms") && i + 1 < argc)
            periodMs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--sim"))
            simulated = true;
    }
    QTemporaryDir dir;
    Instrument instrument(simulated,
                          simulated ? std::string("FLAP") : dir.filePath("ttyFLAP").toStdString());
    Config config;
    config.setPort(QString::fromStdString(instrument.name()));
    config.setBitRate(7);
    config.setDataBits(3);
    config.setInputTerminator(13);
    CountingView view;
    auto worker = WeightWorker::create(config, &view);
    worker->execute();
    instrument.send("ST,+1.25 g\r\n");
    pumpUntil([&] { return view.lines == 1; }, 5000);
    const long fdsBefore = openDescriptors();
    const long threadsBefore = statusField("Threads:");
    const long rssBefore = statusField("VmRSS:");

    QElapsedTimer clock;
    clock.start();
    int lost = 0;
    for (int i = 1; i <= cycles; ++i) {
        QElapsedTimer cycle;
        cycle.start();
        instrument.unplug();
        pumpUntil([] { return false; }, periodMs / 4);
        instrument.plug();
        if (!pumpUntil([&] { return view.returns == i; }, 5000)) {
            std::fprintf(stderr, "cycle %d: the port did not come back\n", i);
            return 1;
        }
        instrument.send("ST,+1.25 g\r\n");
        if (!pumpUntil([&] { return view.lines == i + 1; }, 5000))
            ++lost;
        pumpUntil([] { return false; }, std::max<int>(0, periodMs - int(cycle.elapsed())));
    }
    const double seconds = clock.elapsed() / 1000.0;
    const long fdsAfter = openDescriptors();
    const long threadsAfter = statusField("Threads:");
    const long rssAfter = statusField("VmRSS:");
    worker->cancel(true);
    pumpUntil([&] { return worker->isDone(); }, 5000);

    std::printf("%s, %d flaps in %.1f s: lines after a return lost %d\n",
                simulated ? "simulated device" : "pseudo-terminal link", cycles, seconds, lost);
    std::printf("descriptors %ld -> %ld, threads %ld -> %ld, resident %ld KiB -> %ld KiB\n",
                fdsBefore, fdsAfter, threadsBefore, threadsAfter, rssBefore, rssAfter);
    return lost == 0 && fdsAfter == fdsBefore && threadsAfter == threadsBefore ? 0 : 1;
}
