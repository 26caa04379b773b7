#pragma once

#include "platform/KeyInjector.h"

#include <QString>

#include <functional>
#include <memory>

namespace serwedge::worker {

// What the window or the tool is told while keys cannot go through yet. Called on any thread.
struct KeyInjectorHooks {
    // What the user must do before keys go through (allow remote input in the desktop's
    // dialog); the empty text once they do.
    std::function<void(const QString& text)> status;
    // The desktop refused or ended remote input.
    std::function<void(const QString& text)> important;
};

// A Wayland session where no back-end can type: the text says so and what the user can do.
class NoKeyInjectionError : public platform::KeyInjectorError {
public:
    using platform::KeyInjectorError::KeyInjectorError;
};

// The key injector of this desktop session. The process property "tallyra.keys" (auto, x11,
// wlroots, portal) forces a back-end; with auto the session decides: X11's XTest in an X11
// session; on Wayland the virtual keyboard of wlroots compositors or the desktop's
// RemoteDesktop portal (GNOME and KDE first), whichever works. The first back-end that works is
// kept for the rest of the process and logged once. Throws NoKeyInjectionError in a Wayland
// session without a usable back-end, KeyInjectorError otherwise.
std::shared_ptr<platform::KeyInjector> createSessionKeyInjector(const KeyInjectorHooks& hooks = {});

// The restore token of the desktop's remote input session, kept in the user's settings store so
// that the user allows remote input once, not at every start.
QString storedPortalToken();
void storePortalToken(const QString& token);

// The portal back-end with the settings store and the hooks wired in (the platform's own file:
// it exists only where the desktop has a portal).
std::unique_ptr<platform::KeyInjector> createPortalKeyInjector(const KeyInjectorHooks& hooks);

} // namespace serwedge::worker
