#include "platform/KeyBackends.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace platform {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

const char* keyBackendName(KeyBackend backend) {
    switch (backend) {
    case KeyBackend::X11:
        return "x11";
    case KeyBackend::Wlroots:
        return "wlroots";
    case KeyBackend::Portal:
        return "portal";
    case KeyBackend::SendInput:
        break;
    }
    return "sendinput";
}

DesktopSession desktopSessionFromEnvironment() {
    return {environment("WAYLAND_DISPLAY"), environment("XDG_SESSION_TYPE"),
            environment("XDG_CURRENT_DESKTOP")};
}

bool isWaylandSession(const DesktopSession& session) {
    const std::string type = lower(session.sessionType);
    if (type == "wayland")
        return true;
    if (type == "x11")
        return false;
    return !session.waylandDisplay.empty();
}

} // namespace platform
