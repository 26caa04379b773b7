#pragma once

// Synthetic keystrokes into the window that has the keyboard focus, by the key codes of
// keys/KeyCodes.h. Plain C++: the back-ends link only their operating system's libraries.

#include <chrono>
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

// The longest time a back-end may leave a key down that the platform would repeat (see pause()).
inline constexpr std::chrono::milliseconds kMaxKeyHold{30};

class KeyInjector {
public:
    virtual ~KeyInjector() = default;
    KeyInjector() = default;
    KeyInjector(const KeyInjector&) = delete;
    KeyInjector& operator=(const KeyInjector&) = delete;

    // Presses or releases one key; throws KeyInjectorError when the platform refuses.
    virtual void press(int code) = 0;
    virtual void release(int code) = 0;
    // Waits ms milliseconds; returns early once stop is requested. Where the platform repeats a
    // key held down (X11 after its auto-repeat delay, Wayland clients after the compositor's
    // repeat delay), a back-end lets no key other than SHIFT, CONTROL and ALT stay down longer
    // than kMaxKeyHold: the pause releases such a key once that time is up and waits out the rest
    // of ms, so that the pause still lasts ms in all; the later release() of that key then does
    // nothing. Pauses are therefore where a long delay setting is spent, never holding a key.
    virtual void pause(int ms, std::stop_token stop = {}) = 0;
    // The SPACE that completes a dead key: the engine calls it where it would press and release
    // SPACE after a chord whose key it expects to be a dead key (the accent then arrives alone).
    // A back-end that knows the symbol the chord's last key produced in the active layout presses
    // nothing when that symbol is not a dead key, since the SPACE would then arrive as a stray
    // space; releaseDeadKeySpace() then releases nothing. Otherwise they act as press(SPACE) and
    // release(SPACE), which is what the defaults do, and throw KeyInjectorError the same way.
    virtual void pressDeadKeySpace();
    virtual void releaseDeadKeySpace();
    // The locking state of Caps Lock.
    virtual bool capsLockOn() = 0;
};

// Sleeps ms milliseconds or until stop is requested; false when it was cut short.
bool interruptibleSleep(int ms, const std::stop_token& stop);

// The real back-end of this platform (X11 on Linux, SendInput on Windows). Throws
// KeyInjectorError with the reason when the keystroke facility is not available.
std::unique_ptr<KeyInjector> createKeyInjector();

} // namespace platform
