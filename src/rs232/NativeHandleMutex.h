#pragma once

#include <mutex>

namespace rs232 {

// The one process-wide lock around opening, configuring and closing ports in the driver.
class NativeHandleMutex {
public:
    static NativeHandleMutex& getInstance();

    void lock() { mutex_.lock(); }
    void unlock() { mutex_.unlock(); }
    bool try_lock() { return mutex_.try_lock(); }

    NativeHandleMutex(const NativeHandleMutex&) = delete;
    NativeHandleMutex& operator=(const NativeHandleMutex&) = delete;

private:
    NativeHandleMutex() = default;
    std::mutex mutex_;
};

} // namespace rs232
