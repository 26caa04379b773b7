#include "platform/ShortHolds.h"

#include <algorithm>
#include <exception>

namespace platform {

namespace {

// Sleeps until the time point or until stop is requested; false when it was cut short.
bool sleepUntil(std::chrono::steady_clock::time_point until, const std::stop_token& stop) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    return interruptibleSleep(static_cast<int>(left.count()), stop);
}

} // namespace

void ShortHolds::pressed(unsigned key) {
    down_.push_back({key, Clock::now()});
}

bool ShortHolds::held(unsigned key) const {
    return std::any_of(down_.begin(), down_.end(), [key](const Down& d) { return d.key == key; });
}

void ShortHolds::released(unsigned key) {
    std::erase_if(down_, [key](const Down& d) { return d.key == key; });
}

void ShortHolds::pause(int ms, const std::stop_token& stop,
                       const std::function<void(unsigned)>& release) {
    const auto end = Clock::now() + std::chrono::milliseconds(std::max(ms, 0));
    // A key the platform refuses to release stays listed, so that the back-end's own release
    // tries again and reports the refusal; within this pause it is not tried again.
    std::vector<unsigned> refused;
    for (;;) {
        auto next = down_.end();
        for (auto it = down_.begin(); it != down_.end(); ++it) {
            if (std::find(refused.begin(), refused.end(), it->key) == refused.end() &&
                (next == down_.end() || it->since < next->since))
                next = it;
        }
        if (next == down_.end() || next->since + kMaxKeyHold >= end)
            break;
        if (!sleepUntil(next->since + kMaxKeyHold, stop))
            return;
        const unsigned key = next->key;
        try {
            release(key);
            down_.erase(next);
        } catch (const std::exception&) {
            refused.push_back(key);
        }
    }
    sleepUntil(end, stop);
}

} // namespace platform
