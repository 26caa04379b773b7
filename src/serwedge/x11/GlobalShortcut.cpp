// The global shortcut on X11: a passive grab of the key on the root window through a
// connection of our own, whose events a socket notifier hands to the user-interface thread.

#include "serwedge/GlobalShortcut.h"

#include "platform/KeyBackends.h"

#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <array>

namespace serwedge {
namespace {

// Set while the grabs are made: another client holding the key answers BadAccess.
int grabError = 0;
int recordGrabError(Display*, XErrorEvent* event) {
    grabError = event->error_code;
    return 0;
}

class X11GlobalShortcut : public GlobalShortcut {
public:
    X11GlobalShortcut(Display* display, std::function<void()> pressed)
        : display_(display), pressed_(std::move(pressed)), code_(XKeysymToKeycode(display, XK_F12)),
          notifier_(ConnectionNumber(display), QSocketNotifier::Read) {
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { readEvents(); });
    }

    ~X11GlobalShortcut() override {
        if (grabbed_) {
            for (const unsigned int extra : kIgnoredModifiers)
                XUngrabKey(display_, code_, kModifiers | extra, DefaultRootWindow(display_));
        }
        XCloseDisplay(display_);
    }

    // False when another client holds the combination.
    bool grab() {
        if (code_ == 0)
            return false;
        grabError = 0;
        XErrorHandler previous = XSetErrorHandler(recordGrabError);
        // Caps Lock and Num Lock must not make the combination a different one.
        for (const unsigned int extra : kIgnoredModifiers) {
            XGrabKey(display_, code_, kModifiers | extra, DefaultRootWindow(display_), False,
                     GrabModeAsync, GrabModeAsync);
        }
        XSync(display_, False);
        XSetErrorHandler(previous);
        grabbed_ = grabError == 0;
        if (!grabbed_) {
            // Give back whichever of the four grabs did succeed.
            for (const unsigned int extra : kIgnoredModifiers)
                XUngrabKey(display_, code_, kModifiers | extra, DefaultRootWindow(display_));
            XSync(display_, False);
        }
        return grabbed_;
    }

private:
    static constexpr unsigned int kModifiers = ControlMask | ShiftMask;
    static constexpr std::array<unsigned int, 4> kIgnoredModifiers{0, LockMask, Mod2Mask,
                                                                   LockMask | Mod2Mask};

    void readEvents() {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == KeyPress && event.xkey.keycode == code_ && pressed_)
                pressed_();
        }
    }

    Display* display_;
    std::function<void()> pressed_;
    KeyCode code_;
    QSocketNotifier notifier_;
    bool grabbed_ = false;
};

} // namespace

std::unique_ptr<GlobalShortcut> GlobalShortcut::create(std::function<void()> pressed,
                                                       const char*& refusalKey) {
    if (platform::isWaylandSession(platform::desktopSessionFromEnvironment())) {
        refusalKey = "shortcut.wayland";
        return nullptr;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        refusalKey = "shortcut.no.display";
        return nullptr;
    }
    auto shortcut = std::make_unique<X11GlobalShortcut>(display, std::move(pressed));
    if (!shortcut->grab()) {
        refusalKey = "shortcut.taken";
        return nullptr;
    }
    return shortcut;
}

} // namespace serwedge
