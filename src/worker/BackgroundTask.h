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
#include <cstddef>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
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
    // For the work: waits until `room` answers true, the receiving thread has taken a batch in
    // between, or the task is cancelled or interrupted. `room` is asked under the task's lock.
    template <class Room> void waitForRoom(Room room) {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [&] { return interrupted_.load() || cancelled_.load() || room(); });
    }
    // For the receiving thread: a batch has been taken, wake a publisher waiting for room.
    void roomMade();

    virtual void runBackground() = 0;
    // Hands pending items to process: all of them, or a first part; true when some are left.
    virtual bool deliverPending(bool all) = 0;
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
    virtual void process(std::span<const Item> /*batch*/) {}

    // From the background thread.
    void publish(Item item) {
        {
            std::lock_guard lock(pendingMutex_);
            pending_.push_back(std::move(item));
        }
        ++waiting_;
        scheduleDelivery();
    }

    // From the background thread: the items in order, handed over under one lock (the vector
    // is left empty). When more than maxWaiting items wait for the receiving thread, waits
    // until it has taken some (or the task is cancelled), so that what waits stays bounded.
    void publishAll(std::vector<Item>& items, std::size_t maxWaiting) {
        if (items.empty())
            return;
        const std::size_t n = items.size();
        {
            std::lock_guard lock(pendingMutex_);
            if (pending_.empty())
                pending_.swap(items);
            else
                std::move(items.begin(), items.end(), std::back_inserter(pending_));
        }
        items.clear();
        waiting_ += n;
        scheduleDelivery();
        if (waiting_.load() > maxWaiting)
            waitForRoom([&] { return waiting_.load() <= maxWaiting; });
    }

    // Most items one delivery hands to process; more wait for the next turn of the receiving
    // thread's event loop, so that a flood cannot hold it up for long.
    static constexpr std::size_t kMaxDelivery = 500;

private:
    void runBackground() final {
        Result r = doInBackground();
        std::lock_guard lock(resultMutex_);
        result_ = std::move(r);
    }

    // The receiving thread takes all pending items at once into its inbox (whose storage goes
    // back to the publisher for the next items) and hands them on a part at a time.
    bool deliverPending(bool all) final {
        bool more = true;
        while (more) {
            if (taken_ == inbox_.size()) {
                inbox_.clear();
                taken_ = 0;
                std::lock_guard lock(pendingMutex_);
                inbox_.swap(pending_);
            }
            const std::size_t from = taken_;
            taken_ = all ? inbox_.size() : std::min(inbox_.size(), from + kMaxDelivery);
            waiting_ -= taken_ - from;
            roomMade();
            if (taken_ > from)
                process(std::span<const Item>(inbox_.data() + from, taken_ - from));
            if (taken_ < inbox_.size()) {
                more = true;
            } else {
                std::lock_guard lock(pendingMutex_);
                more = !pending_.empty();
            }
            if (!all)
                break;
        }
        return more;
    }

    mutable std::mutex resultMutex_;
    std::optional<Result> result_;
    std::mutex pendingMutex_;
    std::vector<Item> pending_;
    // Receiving thread only.
    std::vector<Item> inbox_;
    std::size_t taken_ = 0;
    std::atomic<std::size_t> waiting_{0};
};

} // namespace serwedge::worker
