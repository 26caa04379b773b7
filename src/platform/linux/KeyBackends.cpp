#include "platform/KeyBackends.h"

#include "platform/wayland/WlrootsKeyInjector.h"
#include "platform/x11/X11KeyInjector.h"

#include <sstream>
#include <stdexcept>

namespace platform {

namespace {

// GNOME and KDE Plasma give remote input only through the portal; the wlroots desktops offer
// the virtual keyboard (and some a portal as well).
bool portalDesktop(const std::string& desktops) {
    std::istringstream list(desktops);
    std::string name;
    while (std::getline(list, name, ':')) {
        for (const char* known : {"GNOME", "KDE", "Unity", "Budgie", "Pantheon"})
            if (name == known)
                return true;
    }
    return false;
}

} // namespace

std::vector<KeyBackend> keyBackendsToTry(const DesktopSession& session, const std::string& choice) {
    if (choice.empty() || choice == "auto") {
        if (!isWaylandSession(session))
            return {KeyBackend::X11};
        if (portalDesktop(session.currentDesktop))
            return {KeyBackend::Portal, KeyBackend::Wlroots};
        return {KeyBackend::Wlroots, KeyBackend::Portal};
    }
    for (KeyBackend backend : {KeyBackend::X11, KeyBackend::Wlroots, KeyBackend::Portal})
        if (choice == keyBackendName(backend))
            return {backend};
    throw std::invalid_argument("unknown key injection \"" + choice +
                                "\" (auto, x11, wlroots or portal)");
}

std::unique_ptr<KeyInjector> createKeyInjector(KeyBackend backend) {
    switch (backend) {
    case KeyBackend::X11:
        return std::make_unique<X11KeyInjector>();
    case KeyBackend::Wlroots:
        return std::make_unique<WlrootsKeyInjector>();
    case KeyBackend::Portal:
    case KeyBackend::SendInput:
        break;
    }
    throw KeyInjectorError(std::string("the key injection ") + keyBackendName(backend) +
                           " is not part of the platform library");
}

} // namespace platform
