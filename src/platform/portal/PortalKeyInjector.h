#pragma once

#include "platform/xkb/KeySymbols.h"
#include "platform/xkb/ModifierEmulation.h"
#include "platform/xkb/SessionLayout.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Where the desktop's remote-desktop portal stands with the request for keyboard input.
enum class PortalState {
    Asking,  // the desktop may show its dialog: the user must allow remote input there
    Started, // keys go through
    Refused, // the user or the desktop said no
    Ended,   // the desktop ended the session
};

struct PortalOptions {
    std::string busAddress;   // empty: the session bus
    std::string restoreToken; // from the last session: the desktop may then skip its dialog
    // The session's keymap in the XKB text format; empty when it cannot be read.
    std::string layoutKeymap;
    // The token for the next start; called on the portal's own thread.
    std::function<void(const std::string& token)> tokenReceived;
    // Every change of state, with the desktop's reason for Refused and Ended; called on the
    // portal's own thread.
    std::function<void(PortalState state, const std::string& detail)> stateChanged;
    std::chrono::milliseconds callTimeout{10000};
};

// Key injection through the RemoteDesktop portal of xdg-desktop-portal (GNOME, KDE Plasma):
// a session with the keyboard only, kept for later starts (persist mode 2) so that the user
// allows it once, and every press and release sent as a key symbol, which the desktop presses on
// the key of its layout that has it. With the session's layout known, a key code is sent as the
// first-level symbol of the key that carries its symbol (as on X11), so that the desktop presses
// exactly that key and the held modifiers choose the level. Keys pressed before the user has
// allowed the session wait in the injector; the pause after them waits for the answer.
class PortalKeyInjector : public xkb::ModifierEmulation {
public:
    // Needs a Qt application object. Throws KeyInjectorError when there is no portal, or it
    // offers no keyboard. The session is requested at once, without waiting for the answer.
    explicit PortalKeyInjector(PortalOptions options);
    // Releases whatever is still down and closes the session.
    ~PortalKeyInjector() override;

    void pause(int ms, std::stop_token stop = {}) override;
    // The desktop does not tell its Caps Lock state through the portal.
    bool capsLockOn() override;

    PortalState state() const;

private:
    struct Session;

    void modifier(Modifier which, bool down) override;
    void key(int code, bool down) override;
    void character(unsigned long value) override;
    std::optional<bool> givesDeadKey(int code, bool shift, bool level3) const override;

    void send(xkb::Keysym sym, bool down);

    std::unique_ptr<Session> session_;
    std::unique_ptr<xkb::SessionLayout> layout_; // none when the session's layout is unknown
    std::vector<xkb::Keysym> down_;              // symbols down, in press order
    std::map<int, xkb::Keysym> sent_;            // key code -> symbol sent for its press
};

} // namespace platform
