#pragma once

// Synthetic keystrokes into the window that has the keyboard focus, by the key codes of
// keys/KeyCodes.h. Plain C++: the back-ends link only their operating system's libraries.

#include <memory>
#include <stdexcept>
#include <stop_token>
#include <string>

namespace platform {

// A press or release the platform refused, or a facility that is not available.
class KeyInjectorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class KeyInjector {
public:
    virtual ~KeyInjector() = default;
    KeyInjector() = default;
    KeyInjector(const KeyInjector&) = delete;
    KeyInjector& operator=(const KeyInjector&) = delete;

    // Presses or releases one key; throws KeyInjectorError when the platform refuses.
    virtual void press(int code) = 0;
    virtual void release(int code) = 0;
    // Waits ms milliseconds; returns early once stop is requested.
    virtual void pause(int ms, std::stop_token stop = {}) = 0;
    // The locking state of Caps Lock.
    virtual bool capsLockOn() = 0;
};

// Sleeps ms milliseconds or until stop is requested; false when it was cut short.
bool interruptibleSleep(int ms, const std::stop_token& stop);

// The real back-end of this platform (X11 on Linux, SendInput on Windows). Throws
// KeyInjectorError with the reason when the keystroke facility is not available.
std::unique_ptr<KeyInjector> createKeyInjector();

} // namespace platform
