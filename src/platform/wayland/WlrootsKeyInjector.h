#pragma once

#include "platform/xkb/ModifierEmulation.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform {

namespace wayland {
class WaylandConnection;
} // namespace wayland
namespace xkb {
class VirtualKeymap;
} // namespace xkb

// Key injection on Wayland compositors that offer virtual-keyboard-unstable-v1 (sway, Hyprland,
// labwc, river and the other wlroots desktops). The injector reads the user's layout from the
// seat, uploads a keymap built from it (see xkb::VirtualKeymap) and waits until the compositor
// has taken it before the first key. Key codes name key symbols as on X11, and the same two
// conventions of the other platform are emulated: CONTROL and ALT held together act as AltGr,
// and ALT with keypad digits types the character with that decimal code when ALT goes up.
class WlrootsKeyInjector : public xkb::ModifierEmulation {
public:
    // Connects to the named Wayland display (or $WAYLAND_DISPLAY); throws KeyInjectorError when
    // there is none or the compositor offers no virtual keyboard.
    explicit WlrootsKeyInjector(const std::string& displayName = {});
    // Releases whatever is still down and removes the virtual keyboard.
    ~WlrootsKeyInjector() override;

    void pause(int ms, std::stop_token stop = {}) override;
    // The virtual keyboard has modifier state of its own, and Caps Lock is never on in it.
    bool capsLockOn() override;

private:
    void modifier(Modifier which, bool down) override;
    void key(int code, bool down) override;
    void character(unsigned long value) override;
    void beforeEvent() override;
    std::optional<bool> givesDeadKey(int code, bool shift, bool level3) const override;

    void send(std::uint32_t keycode, bool down);
    void sendModifiers(std::uint32_t depressed);

    std::unique_ptr<wayland::WaylandConnection> wl_;
    std::unique_ptr<xkb::VirtualKeymap> keymap_;
    std::uint32_t depressed_ = 0;       // modifier mask the compositor was last told
    std::map<int, std::uint32_t> keys_; // key code -> keycode pressed for it
    std::vector<std::uint32_t> down_;   // keycodes down, in press order
};

} // namespace platform
