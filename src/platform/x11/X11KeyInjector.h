#pragma once

#include "platform/KeyInjector.h"
#include "platform/ShortHolds.h"

#include <list>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Xlib types, without pulling Xlib's macros into every includer.
typedef struct _XDisplay Display;
typedef struct _XkbDesc* XkbDescPtr;

namespace platform {

// Key injection through the XTest extension. A key code names a key symbol; the key that
// carries that symbol in the current layout is pressed. Two conventions of the other platform
// are emulated: CONTROL and ALT held together act as AltGr (ISO_Level3_Shift), and ALT with
// keypad digits types the character with that decimal code when ALT goes up, whatever the
// state of Caps Lock. No key but a modifier stays down longer than kMaxKeyHold, so that the
// server's auto-repeat never repeats it, and the SPACE that completes a dead key is left out
// when the key pressed before it is not a dead key in the current layout.
class X11KeyInjector : public KeyInjector {
public:
    // Connects to the named display (or $DISPLAY); throws KeyInjectorError when it cannot.
    explicit X11KeyInjector(const std::string& displayName = {});
    // Releases whatever is still down and restores the keymap and the NumLock state.
    ~X11KeyInjector() override;

    void press(int code) override;
    void release(int code) override;
    void pause(int ms, std::stop_token stop = {}) override;
    bool capsLockOn() override;
    void pressDeadKeySpace() override;
    void releaseDeadKeySpace() override;

private:
    struct Location {
        unsigned keycode;
        int level;
    };
    using KeySym = unsigned long;

    KeySym keysymFor(int code) const;
    // The key carrying the symbol in the current group, lowest level first.
    std::optional<Location> locate(KeySym sym);
    void refreshKeymap();
    unsigned keycodeOf(KeySym sym);
    // A spare keycode showing the symbol; spare keycodes are cached and reused.
    unsigned spareFor(KeySym sym);
    void fake(unsigned keycode, bool down);
    void sync(const char* what);
    // Holds the physical modifier keys the logical CONTROL and ALT call for before a key.
    void applyModifiers();
    void dropUnneededModifiers();
    void typeComposed(unsigned long value);
    void ensureNumLock();
    bool lockedModifier(KeySym lockKey);
    // The locked and latched modifiers and the group of the keyboard state, as a core state.
    unsigned lockedState();
    // The symbol the key gives with the core state, as a client looks it up (Caps Lock turns
    // a symbol whose key does not use it into its capital).
    KeySym symbolOf(unsigned keycode, unsigned state);

    Display* display_ = nullptr;
    XkbDescPtr xkb_ = nullptr;
    int xkbEventBase_ = 0;
    int group_ = 0;
    bool keymapDirty_ = true;

    bool control_ = false; // logical CONTROL down
    bool alt_ = false;     // logical ALT down
    bool composing_ = false;
    unsigned long composed_ = 0;
    int composedDigits_ = 0;

    unsigned shiftKey_ = 0, controlKey_ = 0, altKey_ = 0, level3Key_ = 0;
    unsigned level3Mask_ = 0; // the modifier ISO_Level3_Shift sets
    bool controlDown_ = false, altDown_ = false, level3Down_ = false;

    std::map<int, unsigned> pressed_; // our key code -> X keycode pressed for it
    std::vector<unsigned> down_;      // X keycodes down, in press order
    ShortHolds holds_;                // the keys down that auto-repeat would repeat

    // The last key pressed other than a modifier, with the modifiers held for it (0: none).
    unsigned lastKeycode_ = 0;
    unsigned lastModifiers_ = 0;
    bool deadKeySpaceDown_ = false;

    std::vector<unsigned> spares_; // keycodes without symbols in the original keymap
    std::list<std::pair<KeySym, unsigned>> spareUse_; // symbol on each used spare, oldest first
    bool numLockTurnedOn_ = false;
};

} // namespace platform
