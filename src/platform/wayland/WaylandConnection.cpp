#include "platform/wayland/WaylandConnection.h"

#include "platform/KeyInjector.h"

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

namespace platform::wayland {

namespace {

// How long the compositor may take to answer before it counts as hung.
constexpr int kAnswerTimeoutMs = 5000;

} // namespace

WaylandConnection::WaylandConnection(const std::string& displayName) {
    const char* name = displayName.empty() ? nullptr : displayName.c_str();
    if (!name && !std::getenv("WAYLAND_DISPLAY"))
        throw KeyInjectorError("no Wayland display: WAYLAND_DISPLAY is not set");
    display = wl_display_connect(name);
    if (!display)
        throw KeyInjectorError("cannot connect to the Wayland display " +
                               std::string(name ? name : std::getenv("WAYLAND_DISPLAY")));
    static const wl_seat_listener seatListener = {
        [](void* data, wl_seat*, std::uint32_t caps) {
            static_cast<WaylandConnection*>(data)->capabilities = caps;
        },
        [](void*, wl_seat*, const char*) {}};
    static const wl_registry_listener registryListener = {
        [](void* data, wl_registry* registry, std::uint32_t id, const char* interface,
           std::uint32_t version) {
            auto* self = static_cast<WaylandConnection*>(data);
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
    registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, this);
    roundtrip(); // the globals
    if (!seat)
        throw KeyInjectorError("the Wayland compositor has no seat");
    roundtrip(); // the seat's capabilities
}

WaylandConnection::~WaylandConnection() {
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

void WaylandConnection::fail(const std::string& what) {
    const int error = wl_display_get_error(display);
    throw KeyInjectorError(what + ": " + (error ? std::strerror(error) : "the connection failed"));
}

void WaylandConnection::flush() {
    while (wl_display_flush(display) < 0) {
        if (errno != EAGAIN)
            fail("the Wayland compositor closed the connection");
        pollfd fd{wl_display_get_fd(display), POLLOUT, 0};
        if (poll(&fd, 1, kAnswerTimeoutMs) <= 0)
            throw KeyInjectorError("the Wayland compositor takes no more input");
    }
}

void WaylandConnection::drain() {
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

void WaylandConnection::roundtrip() {
    bool done = false;
    static const wl_callback_listener listener = {
        [](void* data, wl_callback* callback, std::uint32_t) {
            *static_cast<bool*>(data) = true;
            wl_callback_destroy(callback);
        }};
    wl_callback* callback = wl_display_sync(display);
    wl_callback_add_listener(callback, &listener, &done);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerTimeoutMs);
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

std::string WaylandConnection::seatKeymap() {
    if (!(capabilities & WL_SEAT_CAPABILITY_KEYBOARD))
        return {};
    std::string keymap;
    static const wl_keyboard_listener listener = {
        [](void* data, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size) {
            if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0) {
                void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
                if (map != MAP_FAILED) {
                    const auto* text = static_cast<const char*>(map);
                    static_cast<std::string*>(data)->assign(text, strnlen(text, size));
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
    wl_keyboard* seatKeyboard = wl_seat_get_keyboard(seat);
    wl_keyboard_add_listener(seatKeyboard, &listener, &keymap);
    try {
        roundtrip();
    } catch (...) {
        wl_keyboard_destroy(seatKeyboard);
        throw;
    }
    if (seatVersion >= WL_KEYBOARD_RELEASE_SINCE_VERSION)
        wl_keyboard_release(seatKeyboard);
    else
        wl_keyboard_destroy(seatKeyboard);
    return keymap;
}

std::string readSessionKeymap(const std::string& displayName) {
    try {
        WaylandConnection connection(displayName);
        return connection.seatKeymap();
    } catch (const KeyInjectorError&) {
        return {};
    }
}

} // namespace platform::wayland
