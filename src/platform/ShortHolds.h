#pragma once

// Keeps keys that the platform would repeat from staying down longer than kMaxKeyHold, for the
// back-ends whose platforms repeat held keys (see KeyInjector::pause). The back-end reports each
// such key it presses and releases; its pause() goes through here and releases, on the way, each
// key whose time is up.

#include "platform/KeyInjector.h"

#include <chrono>
#include <functional>
#include <stop_token>
#include <vector>

namespace platform {

class ShortHolds {
public:
    // A key (in the back-end's own numbering) went down now.
    void pressed(unsigned key);
    // Whether the key went down and no pause has released it yet.
    bool held(unsigned key) const;
    // The back-end has released the key itself.
    void released(unsigned key);
    // Waits ms milliseconds (returning early once stop is requested); each key down for
    // kMaxKeyHold goes up through release() on the way. A key whose release throws is forgotten
    // all the same, and the error is passed on after the wait.
    void pause(int ms, const std::stop_token& stop, const std::function<void(unsigned)>& release);
    // Forgets every key (the back-end releases them itself).
    void clear() { down_.clear(); }

private:
    using Clock = std::chrono::steady_clock;
    struct Down {
        unsigned key;
        Clock::time_point since;
    };
    std::vector<Down> down_;
};

} // namespace platform
