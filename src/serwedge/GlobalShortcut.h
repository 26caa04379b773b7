#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace serwedge {

// A key combination that reaches the program whichever window has the keyboard focus, for as
// long as the object lives: Ctrl+Shift+F12. One back-end per platform: on X11 the key is
// grabbed on the root window, on Windows it is registered as a hot key. Wayland gives ordinary
// programs no such facility, so there is none there.
class GlobalShortcut {
public:
    virtual ~GlobalShortcut() = default;

    // The combination as the user reads it.
    static QString keyText() { return QStringLiteral("Ctrl+Shift+F12"); }

    // Registers the combination; `pressed` runs on the user-interface thread at each press.
    // Answers nothing and names the reason with a catalogue key of the window
    // ("shortcut.wayland", "shortcut.no.display", "shortcut.taken") when the session or another
    // program does not allow it. User-interface thread only.
    static std::unique_ptr<GlobalShortcut> create(std::function<void()> pressed,
                                                  const char*& refusalKey);
};

} // namespace serwedge
