#pragma once

#include "platform/KeyInjector.h"

#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <vector>

namespace platform {

// Records presses, releases and pauses instead of typing, for tests. It keeps track of the keys
// held down and can be told to refuse chosen or random presses and releases.
class RecordingKeyInjector : public KeyInjector {
public:
    struct Event {
        enum Kind { Press, Release, Pause };
        Kind kind;
        int value; // key code, or milliseconds for a pause
        bool operator==(const Event&) const = default;
    };

    void press(int code) override;
    void release(int code) override;
    void pause(int ms, std::stop_token stop = {}) override;
    bool capsLockOn() override;
    // Recorded as a press of SPACE, and counted.
    void pressDeadKeySpace() override;

    // Everything recorded so far, in order; refused presses and releases are not recorded.
    std::vector<Event> events() const;
    // The codes pressed (in order), leaving out releases and pauses.
    std::vector<int> pressedCodes() const;
    // Keys pressed and not yet released.
    std::set<int> held() const;
    // Presses of SPACE made through pressDeadKeySpace().
    int deadKeySpaces() const;
    void clear();

    void setCapsLock(bool on);
    // Pauses really wait (interruptibly) as well as being recorded.
    void setSleeps(bool sleeps);
    // The next `times` presses of the code are refused.
    void failPress(int code, int times = 1);
    void failRelease(int code, int times = 1);
    // Every press (and, when asked, every release) is refused with the given probability.
    void failRandomly(double probability, unsigned seed, bool releasesToo = false);
    // Called after every recorded event (from the typing thread).
    void onEvent(std::function<void(const Event&)> callback);

private:
    bool shouldFail(std::map<int, int>& chosen, int code, bool random);

    mutable std::mutex mutex_;
    std::vector<Event> events_;
    std::multiset<int> held_;
    std::map<int, int> failPress_;
    std::map<int, int> failRelease_;
    double failProbability_ = 0.0;
    bool failReleasesRandomly_ = false;
    std::mt19937 random_;
    int deadKeySpaces_ = 0;
    bool capsLock_ = false;
    bool sleeps_ = false;
    std::function<void(const Event&)> callback_;
};

} // namespace platform
