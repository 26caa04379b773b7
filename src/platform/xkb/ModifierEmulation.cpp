#include "platform/xkb/ModifierEmulation.h"

#include "keys/KeyCodes.h"

#include <algorithm>

namespace platform::xkb {

namespace KeyCodes = serwedge::config::KeyCodes;

void ModifierEmulation::hold(Modifier which, bool wanted) {
    bool& down = held_[which];
    if (down == wanted)
        return;
    modifier(which, wanted);
    down = wanted;
}

void ModifierEmulation::applyModifiers() {
    if (control_ && alt_) {
        hold(Modifier::Level3, true);
        return;
    }
    if (control_)
        hold(Modifier::Control, true);
    if (alt_)
        hold(Modifier::Alt, true);
}

void ModifierEmulation::dropUnneededModifiers() {
    if (!(control_ && alt_))
        hold(Modifier::Level3, false);
    if (!control_)
        hold(Modifier::Control, false);
    if (!alt_)
        hold(Modifier::Alt, false);
}

void ModifierEmulation::press(int code) {
    beforeEvent();
    if (code == KeyCodes::CONTROL) {
        control_ = true;
        composing_ = false;
        return;
    }
    if (code == KeyCodes::ALT) {
        // ALT alone starts a character code; with CONTROL it is AltGr.
        alt_ = true;
        composing_ = !control_;
        composed_ = 0;
        composedDigits_ = 0;
        return;
    }
    if (composing_ && alt_ && !control_ && KeyCodes::isNumpadDigit(code)) {
        composed_ = composed_ * 10 + static_cast<unsigned long>(code - KeyCodes::NUMPAD0);
        composedDigits_ = std::min(composedDigits_ + 1, 8);
        pressed_[code] = false; // collected, not sent
        return;
    }
    composing_ = false; // any other key makes ALT an ordinary modifier
    if (code == KeyCodes::SHIFT) {
        hold(Modifier::Shift, true);
        pressed_[code] = true;
        return;
    }
    lastCode_ = 0;
    applyModifiers();
    key(code, true);
    pressed_[code] = true;
    holds_.pressed(static_cast<unsigned>(code));
    lastCode_ = code;
    lastShift_ = held_[Modifier::Shift];
    lastLevel3_ = held_[Modifier::Level3];
}

void ModifierEmulation::release(int code) {
    beforeEvent();
    if (code == KeyCodes::CONTROL) {
        control_ = false;
        dropUnneededModifiers();
        return;
    }
    if (code == KeyCodes::ALT) {
        const bool compose = composing_ && composedDigits_ > 0;
        alt_ = false;
        composing_ = false;
        dropUnneededModifiers();
        if (compose)
            character(composed_);
        return;
    }
    auto it = pressed_.find(code);
    if (it == pressed_.end())
        return; // not down
    const bool sent = it->second;
    pressed_.erase(it);
    if (!sent)
        return;
    if (code == KeyCodes::SHIFT) {
        hold(Modifier::Shift, false);
    } else if (holds_.held(static_cast<unsigned>(code))) { // else a pause has released it
        key(code, false);
        holds_.released(static_cast<unsigned>(code));
    }
}

void ModifierEmulation::pressDeadKeySpace() {
    deadKeySpaceDown_ = false;
    // Not a dead key in this layout (AltGr+7 is a plain grave accent on the French one): the
    // accent has arrived already, and a SPACE would follow it.
    if (lastCode_ != 0 && givesDeadKey(lastCode_, lastShift_, lastLevel3_) == false)
        return;
    press(KeyCodes::SPACE);
    deadKeySpaceDown_ = true;
}

void ModifierEmulation::releaseDeadKeySpace() {
    if (!deadKeySpaceDown_)
        return;
    release(KeyCodes::SPACE);
    deadKeySpaceDown_ = false;
}

void ModifierEmulation::pauseWithShortHolds(int ms, const std::stop_token& stop) {
    holds_.pause(ms, stop, [this](unsigned code) { key(static_cast<int>(code), false); });
}

} // namespace platform::xkb
