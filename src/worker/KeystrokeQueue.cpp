#include "worker/KeystrokeQueue.h"

namespace serwedge::worker {

void KeystrokeQueue::put(QString value) {
    {
        std::lock_guard lock(mutex_);
        values_.push_back(std::move(value));
    }
    changed_.notify_all();
}

std::optional<QString> KeystrokeQueue::take(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, stop, [this] { return !values_.empty(); });
    if (stop.stop_requested() || values_.empty())
        return std::nullopt;
    QString value = std::move(values_.front());
    values_.pop_front();
    ++inProgress_;
    return value;
}

void KeystrokeQueue::putBack(QString value) {
    {
        std::lock_guard lock(mutex_);
        values_.push_front(std::move(value));
        if (inProgress_ > 0)
            --inProgress_;
    }
    changed_.notify_all();
}

void KeystrokeQueue::done() {
    {
        std::lock_guard lock(mutex_);
        if (inProgress_ > 0)
            --inProgress_;
    }
    changed_.notify_all();
}

bool KeystrokeQueue::waitUntilTyped(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return values_.empty() && inProgress_ == 0; });
}

std::size_t KeystrokeQueue::size() const {
    std::lock_guard lock(mutex_);
    return values_.size();
}

void KeystrokeQueue::clear() {
    {
        std::lock_guard lock(mutex_);
        values_.clear();
    }
    changed_.notify_all();
}

} // namespace serwedge::worker
