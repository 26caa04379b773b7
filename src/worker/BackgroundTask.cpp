#include "worker/BackgroundTask.h"

#include <QMetaObject>
#include <QThread>

#include <exception>

namespace serwedge::worker {

// Lives on the receiving thread. The background thread asks it by name to deliver or finish,
// so that no data of ours is built on that thread and read on the other behind Qt's lock.
class TaskReceiver : public QObject {
    Q_OBJECT
public:
    explicit TaskReceiver(BackgroundTaskBase* task) : task_(task) {}
    Q_INVOKABLE void deliver() { task_->deliverOnReceiver(); }
    Q_INVOKABLE void finish() { task_->finishOnReceiver(); }

private:
    BackgroundTaskBase* task_;
};

BackgroundTaskBase::BackgroundTaskBase() : receiver_(std::make_unique<TaskReceiver>(this)) {}

BackgroundTaskBase::~BackgroundTaskBase() {
    shutdown();
}

void BackgroundTaskBase::execute() {
    if (started_)
        return;
    started_ = true;
    receiver_->moveToThread(QThread::currentThread());
    thread_ = std::thread([this] { threadMain(); });
}

bool BackgroundTaskBase::cancel(bool mayInterrupt) {
    {
        std::lock_guard lock(mutex_);
        if (finished_)
            return false;
        cancelled_ = true;
        if (mayInterrupt)
            interrupted_ = true;
    }
    wake_.notify_all();
    return true;
}

void BackgroundTaskBase::interrupt() {
    {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
    }
    wake_.notify_all();
}

bool BackgroundTaskBase::isFinished() const {
    std::lock_guard lock(mutex_);
    return finished_;
}

BackgroundTaskBase::Outcome BackgroundTaskBase::outcome() const {
    std::lock_guard lock(mutex_);
    return outcome_;
}

QString BackgroundTaskBase::errorMessage() const {
    std::lock_guard lock(mutex_);
    return error_;
}

bool BackgroundTaskBase::waitForFinished(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return wake_.wait_for(lock, timeout, [this] { return finished_; });
}

bool BackgroundTaskBase::interruptibleSleep(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    return !wake_.wait_for(lock, duration, [this] { return interrupted_.load(); });
}

void BackgroundTaskBase::shutdown() {
    if (thread_.joinable()) {
        cancel(true);
        thread_.join();
    }
}

void BackgroundTaskBase::scheduleDelivery() {
    if (deliveryPending_.exchange(true))
        return;
    QMetaObject::invokeMethod(receiver_.get(), "deliver", Qt::QueuedConnection);
}

void BackgroundTaskBase::roomMade() {
    // Taken and released so that a publisher between its test and its wait cannot miss this.
    { std::lock_guard lock(mutex_); }
    wake_.notify_all();
}

void BackgroundTaskBase::deliverOnReceiver() {
    deliveryPending_ = false;
    if (deliverPending(false))
        scheduleDelivery();
}

void BackgroundTaskBase::threadMain() {
    Outcome outcome = Outcome::Finished;
    QString error;
    try {
        runBackground();
    } catch (const std::exception& e) {
        outcome = Outcome::Failed;
        error = QString::fromUtf8(e.what());
    } catch (...) {
        outcome = Outcome::Failed;
        error = QStringLiteral("unknown error");
    }
    {
        std::lock_guard lock(mutex_);
        if (cancelled_)
            outcome = Outcome::Cancelled;
        else if (outcome == Outcome::Finished && interrupted_)
            outcome = Outcome::Interrupted;
        outcome_ = outcome;
        error_ = error;
        finished_ = true;
    }
    wake_.notify_all();
    // Queued after every delivery scheduled so far, so done sees every batch first.
    QMetaObject::invokeMethod(receiver_.get(), "finish", Qt::QueuedConnection);
}

void BackgroundTaskBase::finishOnReceiver() {
    if (thread_.joinable())
        thread_.join();
    deliverPending(true);
    doneRun_ = true;
    done();
}

} // namespace serwedge::worker

#include "BackgroundTask.moc"
