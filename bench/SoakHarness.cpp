// Soak run: an instrument streaming as fast as the reading worker takes its lines, through the
// worker, the window's hand-over and the keystroke engine typing into a recording injector.
//
// The default instrument is a simulated balance fed with numbered lines ("ST,+0001234.56  g"
// carries line 123456) whenever fewer than a few kilobytes wait in the device and fewer than
// 2000 values wait to be typed; --demo reads
// the demo balance instead, at its own pace. Every published line is checked for its running
// number (lost or reordered lines), every typed value for the number it carries, and at the end
// no key may stay pressed. Resident memory is sampled throughout.
//
// Usage: soak_harness [--seconds N] [--demo] [--key-delay MS]
// Exit status 0 when nothing was lost, reordered or left pressed.

#include "config/Config.h"
#include "platform/recording/RecordingKeyInjector.h"
#include "serdrv_sim.h"
#include "worker/DataLine.h"
#include "worker/Keybot.h"
#include "worker/WeightWorker.h"
#include "worker/WeightWorkerView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

using namespace serwedge::worker;
using serwedge::config::Config;
namespace H = serwedge::config::ConfigHelper;
using Clock = std::chrono::steady_clock;

namespace {

constexpr const char* kSoakPort = "SOAK";
constexpr int kKeyEnter = 10;
constexpr std::size_t kMaxBacklog = 2000;

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

// The window as far as the soak needs it: checks each published line and hands its value to
// the keystroke engine, as the window's update does.
class SoakView : public WeightWorkerView {
public:
    explicit SoakView(bool numbered) : numbered_(numbered) {}

    void logEvent(const QString&) override {}
    void logImportantEvent(const QString& text) override {
        std::lock_guard lock(mutex_);
        if (important_++ < 10)
            std::fprintf(stderr, "! %s\n", text.toUtf8().constData());
    }
    void setConnectedInGUI(bool) override {}
    void showWarning(const QString&, const QString& message) override {
        std::fprintf(stderr, "warning: %s\n", message.toUtf8().constData());
    }
    void update(const DataLine& line) override {
        if (line.getCount() != lastCount_ + 1) {
            report("line number %d after %d", line.getCount(), lastCount_);
            ++countErrors_;
        }
        lastCount_ = line.getCount();
        if (numbered_) {
            const long carried = digitsOf(line.getProcessedData());
            if (carried != nextValue_) {
                report("line carries %ld, expected %ld", carried, nextValue_);
                ++valueErrors_;
            }
            nextValue_ = carried + 1;
        }
        if (line.isError())
            ++errorFlags_;
        ++lines_;
        Keybot::add(line.getProcessedData());
    }

    static long digitsOf(const QString& value) {
        long n = 0;
        for (const QChar c : value) {
            if (c.isDigit())
                n = n * 10 + c.digitValue();
        }
        return n;
    }

    long lines() const { return lines_; }
    long countErrors() const { return countErrors_; }
    long valueErrors() const { return valueErrors_; }
    long errorFlags() const { return errorFlags_; }
    int important() const {
        std::lock_guard lock(mutex_);
        return important_;
    }

private:
    template <class... A> void report(const char* format, A... args) {
        if (countErrors_ + valueErrors_ < 20) {
            std::fprintf(stderr, format, args...);
            std::fputc('\n', stderr);
        }
    }

    bool numbered_;
    long lines_ = 0;
    int lastCount_ = 0;
    long nextValue_ = 0;
    long countErrors_ = 0;
    long valueErrors_ = 0;
    long errorFlags_ = 0;
    mutable std::mutex mutex_;
    int important_ = 0;
};

// Rebuilds the typed values from the injector's presses (digit keys, ENTER after each value),
// on the typing thread, without keeping the events.
class TypedChecker {
public:
    explicit TypedChecker(bool numbered) : numbered_(numbered) {}
    void onEvent(const platform::RecordingKeyInjector::Event& e) {
        if (e.kind != platform::RecordingKeyInjector::Event::Press)
            return;
        if (e.value >= '0' && e.value <= '9') {
            digits_ = digits_ * 10 + (e.value - '0');
        } else if (e.value == kKeyEnter) {
            if (numbered_ && first_ < 0)
                first_ = digits_;
            else if (numbered_ && digits_ != expected_)
                ++wrong_;
            expected_ = digits_ + 1;
            digits_ = 0;
            ++typed_;
        }
    }
    long typed() const { return typed_.load(); }
    long wrong() const { return wrong_.load(); }

private:
    bool numbered_;
    long digits_ = 0;
    long first_ = -1;
    long expected_ = 0;
    std::atomic<long> typed_{0};
    std::atomic<long> wrong_{0};
};

std::string lineFor(long n) {
    char text[40];
    std::snprintf(text, sizeof text, "ST,+%07ld.%02ld  g\r\n", n / 100, n % 100);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int seconds = 60;
    int keyDelay = 0;
    bool demo = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc)
            seconds = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--key-delay") && i + 1 < argc)
            keyDelay = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--demo"))
            demo = true;
        else {
            std::fprintf(stderr, "usage: %s [--seconds N] [--demo] [--key-delay MS]\n", argv[0]);
            return 2;
        }
    }

    const char* port = demo ? "DEMO" : kSoakPort;
    if (demo)
        serdrv_sim_enable_demo();
    else
        serdrv_sim_create(kSoakPort);

    Config config = H::Instrument(H::Instrument::GENERIC).getDefaultConfig();
    config.setPort(QString::fromLatin1(port));
    config.setInstrument(H::Instrument::GENERIC);
    config.setInputTerminator(13);
    config.setDelay(QString::number(keyDelay));
    config.setOutputTerminator(H::OutputTerminator::ENTER);
    config.setKeyboardType(H::KeyboardType::QUERTY);

    const bool numbered = !demo;
    SoakView view(numbered);
    TypedChecker typed(numbered);
    auto injector = std::make_shared<platform::RecordingKeyInjector>();
    injector->onEvent([&typed](const auto& e) { typed.onEvent(e); });
    auto keybotThread =
        std::make_unique<KeybotThread>(std::make_shared<Keybot>(config, &view, injector));
    auto worker = WeightWorker::create(config, &view);

    const long rssStart = residentKiB();
    long rssWarm = -1;
    long rssMax = rssStart;
    worker->execute();

    const auto start = Clock::now();
    const auto warmUntil = start + std::chrono::seconds(std::min(10, seconds / 6 + 1));
    const auto end = start + std::chrono::seconds(seconds);
    auto nextSample = start + std::chrono::seconds(1);
    long pushed = 0;
    std::size_t maxQueue = 0;
    long tick = 0;
    std::string batch;
    while (Clock::now() < end) {
        // Fed as fast as the worker reads, but no faster than the keystroke engine types, so
        // that a backlog of untyped values does not pass for memory growth.
        if (numbered && serdrv_sim_pending(kSoakPort) < 4096 &&
            Keybot::queue().size() < kMaxBacklog) {
            batch.clear();
            for (int i = 0; i < 100; ++i)
                batch += lineFor(pushed++);
            serdrv_sim_push(kSoakPort, reinterpret_cast<const uint8_t*>(batch.data()),
                            static_cast<int32_t>(batch.size()));
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (Clock::now() >= nextSample) {
            nextSample += std::chrono::seconds(1);
            injector->clear(); // the checker has seen every event; keep the record small
            rssMax = std::max(rssMax, residentKiB());
            maxQueue = std::max(maxQueue, Keybot::queue().size());
            if (rssWarm < 0 && Clock::now() >= warmUntil)
                rssWarm = residentKiB();
            if (++tick % 30 == 0)
                std::fprintf(stderr, "  %4ld s: %ld lines, resident %ld KiB\n", tick, view.lines(),
                             residentKiB());
        }
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();

    // Let everything received so far come through, then stop as the window's Stop does.
    QElapsedTimer drain;
    drain.start();
    while (numbered && serdrv_sim_pending(kSoakPort) > 0 && drain.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    worker->cancel(true);
    while (!worker->isDone() && drain.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const bool typedAll = KeybotThread::waitUntilTyped(std::chrono::seconds(30));
    keybotThread.reset();
    const long rssEnd = residentKiB();
    const auto held = injector->held();

    // Lines still in the device or in the worker's buffer when it stopped were never published.
    const long published = view.lines();
    const long inFlight = numbered ? pushed - published : 0;
    std::printf("soak: %s, %.0f s, key delay %d ms\n", demo ? "demo balance" : "numbered lines",
                elapsed, keyDelay);
    std::printf("  lines published  %ld (%.0f lines per second)\n", published, published / elapsed);
    std::printf("  values typed     %ld%s, most waiting to be typed %zu\n", typed.typed(),
                typedAll ? "" : " (typing did not finish)", maxQueue);
    if (numbered)
        std::printf("  lines pushed     %ld, not published when stopped %ld\n", pushed, inFlight);
    std::printf("  lost or reordered lines %ld, wrong values %ld, wrong typed values %ld, "
                "flagged lines %ld, important events %d\n",
                view.countErrors(), view.valueErrors(), typed.wrong(), view.errorFlags(),
                view.important());
    std::printf("  keys left pressed %zu\n", held.size());
    std::printf("  resident memory  start %ld KiB, after warm-up %ld KiB, end %ld KiB, "
                "max %ld KiB\n",
                rssStart, rssWarm, rssEnd, rssMax);
    const bool ok = view.countErrors() == 0 && view.valueErrors() == 0 && typed.wrong() == 0 &&
                    held.empty() && typedAll && typed.typed() == published &&
                    (!numbered || inFlight <= 1);
    std::printf("  result: %s\n", ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}
