#include "platform/recording/RecordingKeyInjector.h"

#include <string>

namespace platform {

bool RecordingKeyInjector::shouldFail(std::map<int, int>& chosen, int code, bool random) {
    auto it = chosen.find(code);
    if (it != chosen.end() && it->second > 0) {
        --it->second;
        return true;
    }
    if (random && failProbability_ > 0.0) {
        std::uniform_real_distribution<double> uniform(0.0, 1.0);
        return uniform(random_) < failProbability_;
    }
    return false;
}

void RecordingKeyInjector::press(int code) {
    std::function<void(const Event&)> callback;
    {
        std::lock_guard lock(mutex_);
        if (shouldFail(failPress_, code, true))
            throw KeyInjectorError("simulated failure pressing " + std::to_string(code));
        events_.push_back({Event::Press, code});
        held_.insert(code);
        callback = callback_;
    }
    if (callback)
        callback({Event::Press, code});
}

void RecordingKeyInjector::release(int code) {
    std::function<void(const Event&)> callback;
    {
        std::lock_guard lock(mutex_);
        if (shouldFail(failRelease_, code, failReleasesRandomly_))
            throw KeyInjectorError("simulated failure releasing " + std::to_string(code));
        events_.push_back({Event::Release, code});
        // Releasing a key that is not down is harmless, as on a real keyboard.
        if (auto it = held_.find(code); it != held_.end())
            held_.erase(it);
        callback = callback_;
    }
    if (callback)
        callback({Event::Release, code});
}

void RecordingKeyInjector::pause(int ms, std::stop_token stop) {
    bool sleeps = false;
    std::function<void(const Event&)> callback;
    {
        std::lock_guard lock(mutex_);
        events_.push_back({Event::Pause, ms});
        sleeps = sleeps_;
        callback = callback_;
    }
    if (callback)
        callback({Event::Pause, ms});
    if (sleeps)
        interruptibleSleep(ms, stop);
}

void RecordingKeyInjector::pressDeadKeySpace() {
    KeyInjector::pressDeadKeySpace();
    std::lock_guard lock(mutex_);
    ++deadKeySpaces_;
}

int RecordingKeyInjector::deadKeySpaces() const {
    std::lock_guard lock(mutex_);
    return deadKeySpaces_;
}

bool RecordingKeyInjector::capsLockOn() {
    std::lock_guard lock(mutex_);
    return capsLock_;
}

std::vector<RecordingKeyInjector::Event> RecordingKeyInjector::events() const {
    std::lock_guard lock(mutex_);
    return events_;
}

std::vector<int> RecordingKeyInjector::pressedCodes() const {
    std::lock_guard lock(mutex_);
    std::vector<int> codes;
    for (const Event& e : events_)
        if (e.kind == Event::Press)
            codes.push_back(e.value);
    return codes;
}

std::set<int> RecordingKeyInjector::held() const {
    std::lock_guard lock(mutex_);
    return {held_.begin(), held_.end()};
}

void RecordingKeyInjector::clear() {
    std::lock_guard lock(mutex_);
    events_.clear();
}

void RecordingKeyInjector::setCapsLock(bool on) {
    std::lock_guard lock(mutex_);
    capsLock_ = on;
}

void RecordingKeyInjector::setSleeps(bool sleeps) {
    std::lock_guard lock(mutex_);
    sleeps_ = sleeps;
}

void RecordingKeyInjector::failPress(int code, int times) {
    std::lock_guard lock(mutex_);
    failPress_[code] += times;
}

void RecordingKeyInjector::failRelease(int code, int times) {
    std::lock_guard lock(mutex_);
    failRelease_[code] += times;
}

void RecordingKeyInjector::failRandomly(double probability, unsigned seed, bool releasesToo) {
    std::lock_guard lock(mutex_);
    failProbability_ = probability;
    failReleasesRandomly_ = releasesToo;
    random_.seed(seed);
}

void RecordingKeyInjector::onEvent(std::function<void(const Event&)> callback) {
    std::lock_guard lock(mutex_);
    callback_ = std::move(callback);
}

} // namespace platform
