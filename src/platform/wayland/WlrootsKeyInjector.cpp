#include "platform/wayland/WlrootsKeyInjector.h"

#include "platform/xkb/VirtualKeymap.h"

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/mman.h>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace platform {

namespace {

// How long the compositor may take to answer a round trip before it counts as hung.
constexpr int kAnswerTimeoutMs = 5000;
// Time for the compositor to hand the new keymap to the focused client before the first key:
// a key that overtakes the keymap is lost.
constexpr auto kKeymapSettle = std::chrono::milliseconds(50);

std::uint32_t milliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

} // namespace

struct WlrootsKeyInjector::Connection {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    std::uint32_t seatVersion = 0;
    std::uint32_t capabilities = 0;
    zwp_virtual_keyboard_manager_v1* manager = nullptr;
    zwp_virtual_keyboard_v1* keyboard = nullptr;
    std::string layout;
    bool layoutRead = false;

    ~Connection() {
        if (keyboard)
            zwp_virtual_keyboard_v1_destroy(keyboard);
        if (manager)
            zwp_virtual_keyboard_manager_v1_destroy(manager);
        if (seat) {
            if (seatVersion >= WL_SEAT_RELEASE_SINCE_VERSION)
                wl_seat_release(seat);
            else
                wl_seat_destroy(seat);
        }
        if (registry)
            wl_registry_destroy(registry);
        if (display) {
            wl_display_flush(display);
            wl_display_disconnect(display);
        }
    }

    [[noreturn]] void fail(const std::string& what) {
        const int error = wl_display_get_error(display);
        throw KeyInjectorError(what + ": " +
                               (error ? std::strerror(error) : "the connection failed"));
    }

    // Sends what is buffered, waiting while the socket is full.
    void flush() {
        while (wl_display_flush(display) < 0) {
            if (errno != EAGAIN)
                fail("the Wayland compositor closed the connection");
            pollfd fd{wl_display_get_fd(display), POLLOUT, 0};
            if (poll(&fd, 1, kAnswerTimeoutMs) <= 0)
                throw KeyInjectorError("the Wayland compositor takes no more input");
        }
    }

    // Reads and handles whatever events have arrived, without waiting.
    void drain() {
        while (wl_display_prepare_read(display) != 0)
            wl_display_dispatch_pending(display);
        pollfd fd{wl_display_get_fd(display), POLLIN, 0};
        if (poll(&fd, 1, 0) > 0) {
            if (wl_display_read_events(display) < 0)
                fail("the Wayland compositor closed the connection");
        } else {
            wl_display_cancel_read(display);
        }
        if (wl_display_dispatch_pending(display) < 0)
            fail("the Wayland compositor closed the connection");
    }

    // A round trip bounded in time: every request sent so far has been handled.
    void roundtrip() {
        bool done = false;
        static const wl_callback_listener listener = {
            [](void* data, wl_callback* callback, std::uint32_t) {
                *static_cast<bool*>(data) = true;
                wl_callback_destroy(callback);
            }};
        wl_callback* callback = wl_display_sync(display);
        wl_callback_add_listener(callback, &listener, &done);
        const auto end =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerTimeoutMs);
        while (!done) {
            flush();
            drain();
            if (done)
                break;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            pollfd fd{wl_display_get_fd(display), POLLIN, 0};
            if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) <= 0)
                throw KeyInjectorError("the Wayland compositor does not answer");
        }
    }

    // The keymap the seat's keyboard has now (the layout the user types with).
    void readLayout() {
        if (!(capabilities & WL_SEAT_CAPABILITY_KEYBOARD))
            return;
        static const wl_keyboard_listener listener = {
            [](void* data, wl_keyboard*, std::uint32_t format, std::int32_t fd,
               std::uint32_t size) {
                auto* self = static_cast<Connection*>(data);
                if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0) {
                    void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
                    if (map != MAP_FAILED) {
                        self->layout.assign(static_cast<const char*>(map),
                                            strnlen(static_cast<const char*>(map), size));
                        self->layoutRead = true;
                        munmap(map, size);
                    }
                }
                close(fd);
            },
            [](void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {},
            [](void*, wl_keyboard*, std::uint32_t, wl_surface*) {},
            [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
            [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
               std::uint32_t) {},
            [](void*, wl_keyboard*, std::int32_t, std::int32_t) {}};
        wl_keyboard* keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(keyboard, &listener, this);
        roundtrip();
        if (seatVersion >= WL_KEYBOARD_RELEASE_SINCE_VERSION)
            wl_keyboard_release(keyboard);
        else
            wl_keyboard_destroy(keyboard);
    }
};

WlrootsKeyInjector::WlrootsKeyInjector(const std::string& displayName)
    : wl_(std::make_unique<Connection>()) {
    const char* name = displayName.empty() ? nullptr : displayName.c_str();
    if (!name && !std::getenv("WAYLAND_DISPLAY"))
        throw KeyInjectorError("no Wayland display: WAYLAND_DISPLAY is not set");
    wl_->display = wl_display_connect(name);
    if (!wl_->display)
        throw KeyInjectorError("cannot connect to the Wayland display " +
                               std::string(name ? name : std::getenv("WAYLAND_DISPLAY")));

    static const wl_seat_listener seatListener = {
        [](void* data, wl_seat*, std::uint32_t capabilities) {
            static_cast<Connection*>(data)->capabilities = capabilities;
        },
        [](void*, wl_seat*, const char*) {}};
    static const wl_registry_listener registryListener = {
        [](void* data, wl_registry* registry, std::uint32_t id, const char* interface,
           std::uint32_t version) {
            auto* self = static_cast<Connection*>(data);
            if (!self->seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
                self->seatVersion = std::min<std::uint32_t>(version, 5);
                self->seat = static_cast<wl_seat*>(
                    wl_registry_bind(registry, id, &wl_seat_interface, self->seatVersion));
                wl_seat_add_listener(self->seat, &seatListener, self);
            } else if (!self->manager &&
                       std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) ==
                           0) {
                self->manager = static_cast<zwp_virtual_keyboard_manager_v1*>(
                    wl_registry_bind(registry, id, &zwp_virtual_keyboard_manager_v1_interface, 1));
            }
        },
        [](void*, wl_registry*, std::uint32_t) {}};
    wl_->registry = wl_display_get_registry(wl_->display);
    wl_registry_add_listener(wl_->registry, &registryListener, wl_.get());
    wl_->roundtrip(); // the globals
    if (!wl_->manager)
        throw KeyInjectorError("the Wayland compositor offers no virtual keyboard "
                               "(zwp_virtual_keyboard_manager_v1)");
    if (!wl_->seat)
        throw KeyInjectorError("the Wayland compositor has no seat");
    wl_->roundtrip(); // the seat's capabilities

    // The layout of the keyboard the user types with; without one (no keyboard plugged in) the
    // compositor gives the new virtual keyboard its configured layout, which is read then.
    wl_->readLayout();
    wl_->keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(wl_->manager, wl_->seat);
    wl_->roundtrip();
    if (!wl_->layoutRead) {
        wl_->roundtrip();
        wl_->readLayout();
    }
    keymap_ = std::make_unique<xkb::VirtualKeymap>(wl_->layout);

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

bool WlrootsKeyInjector::usesSessionLayout() const {
    return keymap_->usesGivenLayout();
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
    interruptibleSleep(ms, stop);
}

bool WlrootsKeyInjector::capsLockOn() {
    return false;
}

} // namespace platform
