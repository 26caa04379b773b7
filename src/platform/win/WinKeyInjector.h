#pragma once

#include "platform/KeyInjector.h"

#include <vector>

namespace platform {

// Key injection through SendInput. Key codes become virtual keys; the keys named after a
// character (comma, semicolon, dollar, dead keys, ...) are looked up in the keyboard layout of
// the focused window, so that they name the key that carries that character there.
class WinKeyInjector : public KeyInjector {
public:
    WinKeyInjector() = default;
    // Releases whatever the injector still holds down.
    ~WinKeyInjector() override;

    void press(int code) override;
    void release(int code) override;
    void pause(int ms, std::stop_token stop = {}) override;
    bool capsLockOn() override;

private:
    void send(unsigned short vk, bool down);

    std::vector<unsigned short> down_;
};

} // namespace platform
