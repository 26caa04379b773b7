#pragma once

// Holds a typing thread at its first key press until the test lets it go (30 s at most).

#include "platform/recording/RecordingKeyInjector.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace test_support {

class FirstPressGate {
public:
    void attach(platform::RecordingKeyInjector& keys) {
        keys.onEvent([this](const platform::RecordingKeyInjector::Event& e) {
            std::unique_lock lock(mutex_);
            if (e.kind == platform::RecordingKeyInjector::Event::Press && !pressed_) {
                pressed_ = true;
                changed_.notify_all();
                changed_.wait_for(lock, std::chrono::seconds(30), [this] { return open_; });
            }
        });
    }
    bool waitForPress(std::chrono::milliseconds bound = std::chrono::seconds(30)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, bound, [this] { return pressed_; });
    }
    void letGo() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool pressed_ = false, open_ = false;
};

} // namespace test_support
