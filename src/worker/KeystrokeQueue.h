#pragma once

#include <QString>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <stop_token>

namespace serwedge::worker {

// An unbounded blocking queue of values to type: one producer (the window) and one consumer
// (the keystroke thread). It also counts values taken but not yet typed, so that a caller can
// wait until everything handed over has been typed.
class KeystrokeQueue {
public:
    void put(QString value);
    // The next value, waiting while the queue is empty; nothing once stop is requested.
    std::optional<QString> take(std::stop_token stop);
    // Returns a taken value, untouched, to the front of the queue.
    void putBack(QString value);
    // The consumer has finished with a value it took.
    void done();
    // Waits until the queue is empty and no taken value is still being typed; false on time-out.
    bool waitUntilTyped(std::chrono::milliseconds timeout);
    std::size_t size() const;
    // Drops every waiting value.
    void clear();

private:
    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    std::deque<QString> values_;
    int inProgress_ = 0;
};

} // namespace serwedge::worker
