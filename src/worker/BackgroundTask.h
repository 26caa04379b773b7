#pragma once

// A task that runs doInBackground on a thread of its own and reports to the thread that
// started it (the user-interface thread): intermediate results are published from the
// background and delivered there in batches and in order; done runs there when the work has
// ended. Every batch published before the work ended is delivered before done runs.

#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace serwedge::worker {

class TaskReceiver;

class BackgroundTaskBase {
public:
    enum class Outcome {
        None,        // the work has not ended
        Finished,    // doInBackground returned
        Cancelled,   // cancel() was called
        Failed,      // doInBackground threw; errorMessage() says why
        Interrupted, // the work was interrupted without being cancelled
    };

    BackgroundTaskBase();
    virtual ~BackgroundTaskBase();
    BackgroundTaskBase(const BackgroundTaskBase&) = delete;
    BackgroundTaskBase& operator=(const BackgroundTaskBase&) = delete;

    // Starts the work on its own thread. Call once, from the thread that receives the reports
    // (it needs a running Qt event loop).
    void execute();
    // Marks the task cancelled; with mayInterrupt also wakes the interruptible sleeps of the
    // work. Returns false when the work had already ended.
    bool cancel(bool mayInterrupt);
    // Wakes the interruptible sleeps without cancelling.
    void interrupt();

    bool isCancelled() const { return cancelled_.load(); }
    bool isStarted() const { return started_; }
    // True once the work has ended (done may still be pending).
    bool isFinished() const;
    // True once done has run.
    bool isDone() const { return doneRun_; }
    Outcome outcome() const;
    QString errorMessage() const;

    // Waits for the background thread to end (not for done). False on time-out.
    bool waitForFinished(std::chrono::milliseconds timeout);

protected:
    // For the work: true once interrupted or cancelled with interruption.
    bool isInterrupted() const { return interrupted_.load(); }
    // Sleeps unless interrupted; false when the sleep was cut short by an interruption.
    bool interruptibleSleep(std::chrono::milliseconds duration);

    // Cancels, interrupts and joins the thread. Derived classes call it in their destructor,
    // before their own members go.
    void shutdown();

    // Hands the pending batch to the receiving thread unless a delivery is already on its way.
    void scheduleDelivery();

    virtual void runBackground() = 0;
    virtual void deliverPending() = 0;
    virtual void done() {}

private:
    friend class TaskReceiver;
    void threadMain();
    void deliverOnReceiver();
    void finishOnReceiver();

    std::unique_ptr<TaskReceiver> receiver_;
    std::thread thread_;
    bool started_ = false;
    bool doneRun_ = false;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> interrupted_{false};
    std::atomic<bool> deliveryPending_{false};
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool finished_ = false;
    Outcome outcome_ = Outcome::None;
    QString error_;
};

template <class Result, class Item> class BackgroundTask : public BackgroundTaskBase {
public:
    // The value doInBackground returned (none when it threw).
    std::optional<Result> result() const {
        std::lock_guard lock(resultMutex_);
        return result_;
    }

protected:
    virtual Result doInBackground() = 0;
    // One batch of published items, in publication order, on the receiving thread.
    virtual void process(const std::vector<Item>& /*batch*/) {}

    // From the background thread.
    void publish(Item item) {
        {
            std::lock_guard lock(pendingMutex_);
            pending_.push_back(std::move(item));
        }
        scheduleDelivery();
    }

private:
    void runBackground() final {
        Result r = doInBackground();
        std::lock_guard lock(resultMutex_);
        result_ = std::move(r);
    }

    void deliverPending() final {
        std::vector<Item> batch;
        {
            std::lock_guard lock(pendingMutex_);
            batch.swap(pending_);
        }
        if (!batch.empty())
            process(batch);
    }

    mutable std::mutex resultMutex_;
    std::optional<Result> result_;
    std::mutex pendingMutex_;
    std::vector<Item> pending_;
};

} // namespace serwedge::worker
