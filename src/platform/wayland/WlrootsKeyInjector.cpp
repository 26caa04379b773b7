#include "platform/wayland/WlrootsKeyInjector.h"

#include "platform/wayland/WaylandConnection.h"
#include "platform/xkb/VirtualKeymap.h"

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <sys/mman.h>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace platform {

namespace {

// Time for the compositor to hand the new keymap to the focused client before the first key:
// a key that overtakes the keymap is lost.
constexpr auto kKeymapSettle = std::chrono::milliseconds(50);

std::uint32_t milliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

} // namespace

WlrootsKeyInjector::WlrootsKeyInjector(const std::string& displayName)
    : wl_(std::make_unique<wayland::WaylandConnection>(displayName)) {
    if (!wl_->manager)
        throw KeyInjectorError("the Wayland compositor offers no virtual keyboard "
                               "(zwp_virtual_keyboard_manager_v1)");
    // The layout of the keyboard the user types with; without one (no keyboard plugged in) the
    // compositor gives the new virtual keyboard its configured layout, which is read then.
    std::string layout = wl_->seatKeymap();
    wl_->keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(wl_->manager, wl_->seat);
    wl_->roundtrip();
    if (layout.empty()) {
        wl_->roundtrip();
        layout = wl_->seatKeymap();
    }
    const xkb::SessionLayout session(layout);
    keymap_ = std::make_unique<xkb::VirtualKeymap>(session);

    const std::string& text = keymap_->text();
    const int fd = memfd_create("tallyra-keymap", MFD_CLOEXEC);
    if (fd < 0)
        throw KeyInjectorError(std::string("cannot hold the keymap: ") + std::strerror(errno));
    const std::size_t size = text.size() + 1; // with the terminating zero
    const bool written = write(fd, text.c_str(), size) == static_cast<ssize_t>(size);
    if (written)
        zwp_virtual_keyboard_v1_keymap(wl_->keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                       static_cast<std::uint32_t>(size));
    close(fd);
    if (!written)
        throw KeyInjectorError("cannot hold the keymap of the virtual keyboard");
    sendModifiers(0);
    wl_->roundtrip();
    std::this_thread::sleep_for(kKeymapSettle);
    wl_->drain();
}

WlrootsKeyInjector::~WlrootsKeyInjector() {
    if (!wl_->keyboard)
        return;
    try {
        for (auto it = down_.rbegin(); it != down_.rend(); ++it)
            zwp_virtual_keyboard_v1_key(wl_->keyboard, milliseconds(), *it - 8,
                                        WL_KEYBOARD_KEY_STATE_RELEASED);
        if (depressed_ != 0)
            zwp_virtual_keyboard_v1_modifiers(wl_->keyboard, 0, 0, keymap_->lockedMask(), 0);
        wl_->roundtrip();
    } catch (const KeyInjectorError&) {
        // The compositor is gone or hung: nothing is held there any more.
    }
}

void WlrootsKeyInjector::send(std::uint32_t keycode, bool down) {
    zwp_virtual_keyboard_v1_key(wl_->keyboard, milliseconds(), keycode - 8,
                                down ? WL_KEYBOARD_KEY_STATE_PRESSED
                                     : WL_KEYBOARD_KEY_STATE_RELEASED);
    wl_->flush();
    if (down) {
        down_.push_back(keycode);
    } else if (auto it = std::find(down_.rbegin(), down_.rend(), keycode); it != down_.rend()) {
        down_.erase(std::next(it).base());
    }
}

void WlrootsKeyInjector::sendModifiers(std::uint32_t depressed) {
    zwp_virtual_keyboard_v1_modifiers(wl_->keyboard, depressed, 0, keymap_->lockedMask(), 0);
    wl_->flush();
    depressed_ = depressed;
}

void WlrootsKeyInjector::beforeEvent() {
    wl_->drain();
}

void WlrootsKeyInjector::modifier(Modifier which, bool down) {
    const auto [keycode, mask] = [&]() -> std::pair<std::uint32_t, std::uint32_t> {
        switch (which) {
        case Modifier::Shift:
            return {keymap_->shiftKey(), keymap_->shiftMask()};
        case Modifier::Control:
            return {keymap_->controlKey(), keymap_->controlMask()};
        case Modifier::Alt:
            return {keymap_->altKey(), keymap_->altMask()};
        case Modifier::Level3:
            break;
        }
        return {keymap_->level3Key(), keymap_->level3Mask()};
    }();
    // As from a real keyboard: the key, then the modifier state it makes.
    send(keycode, down);
    sendModifiers(down ? depressed_ | mask : depressed_ & ~mask);
}

void WlrootsKeyInjector::key(int code, bool down) {
    if (!down) {
        auto it = keys_.find(code);
        if (it != keys_.end()) {
            send(it->second, false);
            keys_.erase(it);
        }
        return;
    }
    const auto keycode = keymap_->keycodeFor(code);
    if (!keycode)
        throw KeyInjectorError("no key for key code " + std::to_string(code));
    send(*keycode, true);
    keys_[code] = *keycode;
}

void WlrootsKeyInjector::character(unsigned long value) {
    const auto stroke = keymap_->strokeForCharacter(value);
    if (!stroke)
        throw KeyInjectorError("the character code " + std::to_string(value) +
                               " cannot be typed as a key symbol");
    // The modifiers of the character's level alone, whatever else is held; Caps Lock is never
    // on in this keyboard, so it cannot change the character.
    const std::uint32_t held = depressed_;
    if (stroke->mods != held)
        sendModifiers(stroke->mods);
    send(stroke->keycode, true);
    send(stroke->keycode, false);
    if (stroke->mods != held)
        sendModifiers(held);
}

void WlrootsKeyInjector::pause(int ms, std::stop_token stop) {
    wl_->drain();
    pauseWithShortHolds(ms, stop);
}

std::optional<bool> WlrootsKeyInjector::givesDeadKey(int code, bool shift, bool level3) const {
    const auto keycode = keymap_->keycodeFor(code);
    if (!keycode)
        return std::nullopt;
    const std::uint32_t mods =
        (shift ? keymap_->shiftMask() : 0u) | (level3 ? keymap_->level3Mask() : 0u);
    return xkb::isDeadKeysym(keymap_->symbolOf(*keycode, mods));
}

bool WlrootsKeyInjector::capsLockOn() {
    return false;
}

} // namespace platform
