#pragma once

#include "platform/KeyInjector.h"
#include "platform/ShortHolds.h"

#include <map>
#include <optional>

namespace platform::xkb {

// Two conventions of the other platform that XKB layouts lack, for the back-ends that press keys
// by key symbol: CONTROL and ALT held together act as AltGr (ISO_Level3_Shift), and ALT with
// keypad digits types the character with that decimal code when ALT goes up. CONTROL and ALT
// are held only when the next key comes, so that ALT alone can start a character code.
// Keys other than the modifiers stay down at most kMaxKeyHold (see KeyInjector::pause), and the
// SPACE that completes a dead key is left out when the back-end knows the key is not dead.
class ModifierEmulation : public KeyInjector {
public:
    void press(int code) final;
    void release(int code) final;
    void pressDeadKeySpace() final;
    void releaseDeadKeySpace() final;

protected:
    enum class Modifier { Shift, Control, Alt, Level3 };

    // Presses or releases the modifier key itself.
    virtual void modifier(Modifier which, bool down) = 0;
    // Presses or releases the key a key code names (never a modifier).
    virtual void key(int code, bool down) = 0;
    // Types the character with this code on its own, whatever modifiers are held.
    virtual void character(unsigned long value) = 0;
    // Called before every press and release.
    virtual void beforeEvent() {}
    // Whether the key gives a dead key with SHIFT and AltGr held or not; nothing when the
    // back-end cannot tell.
    virtual std::optional<bool> givesDeadKey(int code, bool shift, bool level3) const = 0;

    // The back-ends' pause: waits ms milliseconds (returning early once stop is requested) and
    // releases on the way each key that has been down for kMaxKeyHold.
    void pauseWithShortHolds(int ms, const std::stop_token& stop);

private:
    void hold(Modifier which, bool wanted);
    void applyModifiers();
    void dropUnneededModifiers();

    bool control_ = false; // logical CONTROL down
    bool alt_ = false;     // logical ALT down
    bool composing_ = false;
    unsigned long composed_ = 0;
    int composedDigits_ = 0;
    std::map<Modifier, bool> held_;
    std::map<int, bool> pressed_; // key codes down; false for digits collected for a character
    ShortHolds holds_;            // keys other than modifiers, by key code

    // The last key pressed other than a modifier, and whether SHIFT and AltGr were held.
    int lastCode_ = 0;
    bool lastShift_ = false, lastLevel3_ = false;
    bool deadKeySpaceDown_ = false;
};

} // namespace platform::xkb
