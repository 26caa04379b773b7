#include "worker/BackgroundTask.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <stdexcept>

using serwedge::worker::BackgroundTask;
using serwedge::worker::BackgroundTaskBase;
using namespace std::chrono_literals;

namespace {

// Runs the event loop until the task's done has run, at most a few seconds.
bool pumpUntilDone(const BackgroundTaskBase& task) {
    QElapsedTimer t;
    t.start();
    while (!task.isDone() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return task.isDone();
}

enum class Mode { Count, Throw, SleepForever };

class Probe : public BackgroundTask<int, int> {
public:
    explicit Probe(Mode mode, int items = 0) : mode_(mode), items_(items) {}
    ~Probe() override { shutdown(); }

    std::vector<int> delivered;
    std::vector<std::size_t> batchSizes;
    std::size_t deliveredWhenDone = 0;
    bool sleepCutShort = false;

protected:
    int doInBackground() override {
        switch (mode_) {
        case Mode::Count:
            for (int i = 0; i < items_; ++i)
                publish(i);
            return items_;
        case Mode::Throw:
            publish(1);
            throw std::runtime_error("port vanished");
        case Mode::SleepForever:
            publish(7);
            sleepCutShort = !interruptibleSleep(60s);
            return -1;
        }
        return 0;
    }
    void process(std::span<const int> batch) override {
        batchSizes.push_back(batch.size());
        delivered.insert(delivered.end(), batch.begin(), batch.end());
    }
    void done() override { deliveredWhenDone = delivered.size(); }

private:
    Mode mode_;
    int items_;
};

} // namespace

TEST(BackgroundTask, everyPublishedItemArrivesInOrderBeforeDone) {
    Probe task(Mode::Count, 20000);
    task.execute();
    ASSERT_TRUE(pumpUntilDone(task));
    EXPECT_EQ(task.outcome(), BackgroundTaskBase::Outcome::Finished);
    EXPECT_EQ(task.result(), 20000);
    ASSERT_EQ(task.delivered.size(), 20000u);
    for (int i = 0; i < 20000; ++i)
        ASSERT_EQ(task.delivered[static_cast<std::size_t>(i)], i);
    EXPECT_EQ(task.deliveredWhenDone, 20000u);
    // Items published while a delivery is on its way travel together.
    EXPECT_LT(task.batchSizes.size(), 20000u);
}

TEST(BackgroundTask, failureCarriesTheErrorMessage) {
    Probe task(Mode::Throw);
    task.execute();
    ASSERT_TRUE(pumpUntilDone(task));
    EXPECT_EQ(task.outcome(), BackgroundTaskBase::Outcome::Failed);
    EXPECT_EQ(task.errorMessage(), "port vanished");
    EXPECT_FALSE(task.result().has_value());
    EXPECT_EQ(task.delivered, std::vector<int>{1});
}

TEST(BackgroundTask, cancelWithInterruptionWakesTheSleepAndStillDeliversFirst) {
    Probe task(Mode::SleepForever);
    task.execute();
    QElapsedTimer t;
    t.start();
    while (task.delivered.empty() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(task.cancel(true));
    ASSERT_TRUE(task.waitForFinished(5s));
    ASSERT_TRUE(pumpUntilDone(task));
    EXPECT_TRUE(task.sleepCutShort);
    EXPECT_EQ(task.outcome(), BackgroundTaskBase::Outcome::Cancelled);
    EXPECT_EQ(task.delivered, std::vector<int>{7});
    EXPECT_FALSE(task.cancel(true)); // already ended
}

TEST(BackgroundTask, interruptionWithoutCancelIsToldApart) {
    Probe task(Mode::SleepForever);
    task.execute();
    task.interrupt();
    ASSERT_TRUE(pumpUntilDone(task));
    EXPECT_EQ(task.outcome(), BackgroundTaskBase::Outcome::Interrupted);
    EXPECT_TRUE(task.sleepCutShort);
}

TEST(BackgroundTask, destroyingARunningTaskStopsItsThread) {
    auto task = std::make_unique<Probe>(Mode::SleepForever);
    task->execute();
    QElapsedTimer t;
    t.start();
    task.reset();
    EXPECT_LT(t.elapsed(), 5000);
    QCoreApplication::processEvents(); // queued reports of the gone task are dropped
}
