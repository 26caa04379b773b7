#include "platform/KeyInjector.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace platform {

bool interruptibleSleep(int ms, const std::stop_token& stop) {
    if (ms <= 0)
        return !stop.stop_requested();
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    // Nothing but the stop request wakes the variable.
    wake.wait_for(lock, stop, std::chrono::milliseconds(ms), [] { return false; });
    return !stop.stop_requested();
}

} // namespace platform
