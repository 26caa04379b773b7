#pragma once

#include <cstdint>
#include <string>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwp_virtual_keyboard_manager_v1;
struct zwp_virtual_keyboard_v1;

namespace platform::wayland {

// A client connection to the Wayland compositor for key injection: the first seat, the virtual
// keyboard manager where the compositor offers one, and waits that are bounded in time, so that
// a hung compositor gives an error instead of a hang.
class WaylandConnection {
public:
    // Connects to the named display (or $WAYLAND_DISPLAY) and reads the globals; throws
    // KeyInjectorError when there is no display or no seat.
    explicit WaylandConnection(const std::string& displayName);
    // Removes the virtual keyboard, if one was made, and disconnects.
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    // Sends what is buffered, waiting (bounded) while the socket is full.
    void flush();
    // Reads and handles the events that have arrived, without waiting.
    void drain();
    // Waits (bounded) until the compositor has handled every request sent so far.
    void roundtrip();
    // The keymap of the seat's keyboard in the XKB text format; empty when it has none.
    std::string seatKeymap();

    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    std::uint32_t seatVersion = 0;
    std::uint32_t capabilities = 0;
    zwp_virtual_keyboard_manager_v1* manager = nullptr;
    zwp_virtual_keyboard_v1* keyboard = nullptr;

private:
    [[noreturn]] void fail(const std::string& what);
};

// The keymap of the session's keyboard, read from the compositor; empty when it cannot be read.
std::string readSessionKeymap(const std::string& displayName = {});

} // namespace platform::wayland
