#pragma once

// Which key injection back-end serves the desktop session: X11's XTest, the virtual keyboard of
// wlroots compositors, the RemoteDesktop portal of GNOME and KDE, or Windows' SendInput.

#include "platform/KeyInjector.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {

enum class KeyBackend { X11, Wlroots, Portal, SendInput };

// "x11", "wlroots", "portal", "sendinput": the names the tallyra.keys property takes.
const char* keyBackendName(KeyBackend backend);

// The environment variables that tell what kind of session the program runs in.
struct DesktopSession {
    std::string waylandDisplay; // WAYLAND_DISPLAY
    std::string sessionType;    // XDG_SESSION_TYPE: "wayland", "x11", "tty", ...
    std::string currentDesktop; // XDG_CURRENT_DESKTOP: "GNOME", "KDE", "sway", "ubuntu:GNOME"
};
DesktopSession desktopSessionFromEnvironment();
bool isWaylandSession(const DesktopSession& session);

// The back-ends to try, best first. choice "auto" (or empty) lets the session decide; a
// back-end's name forces that one. Throws std::invalid_argument for any other name and for a
// back-end this platform does not have.
std::vector<KeyBackend> keyBackendsToTry(const DesktopSession& session, const std::string& choice);

// Creates a back-end that needs only the platform's own libraries (every one but the portal);
// throws KeyInjectorError when it cannot be used here.
std::unique_ptr<KeyInjector> createKeyInjector(KeyBackend backend);

} // namespace platform
