#include "platform/x11/X11KeyInjector.h"

#include "keys/KeyCodes.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>

namespace platform {

namespace KeyCodes = serwedge::config::KeyCodes;

namespace {

// Xlib reports protocol errors through one process-wide handler; requests are checked with
// XSync while this trap is installed.
int trappedError = 0;
int trapError(Display*, XErrorEvent* event) {
    trappedError = event->error_code;
    return 0;
}

// Each spare keycode the injector remaps shows one symbol; a few cover every layout.
constexpr std::size_t kMaxSpares = 10;

// The dead-key symbols: XK_dead_grave to XK_dead_longsolidusoverlay.
bool isDeadKey(unsigned long sym) {
    return sym >= 0xfe50 && sym <= 0xfe93;
}

} // namespace

X11KeyInjector::X11KeyInjector(const std::string& displayName) {
    const char* name = displayName.empty() ? nullptr : displayName.c_str();
    if (!name && !std::getenv("DISPLAY"))
        throw KeyInjectorError("no X display: DISPLAY is not set");
    display_ = XOpenDisplay(name);
    if (!display_)
        throw KeyInjectorError("cannot open the X display " +
                               std::string(name ? name : std::getenv("DISPLAY")));
    int event = 0, error = 0, major = 0, minor = 0, opcode = 0;
    if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
        XCloseDisplay(display_);
        throw KeyInjectorError("the X server has no XTEST extension");
    }
    major = XkbMajorVersion;
    minor = XkbMinorVersion;
    if (!XkbQueryExtension(display_, &opcode, &xkbEventBase_, &error, &major, &minor)) {
        XCloseDisplay(display_);
        throw KeyInjectorError("the X server has no XKEYBOARD extension");
    }
    // Layout changes and group switches arrive as events; the map is reloaded when one came.
    XkbSelectEvents(display_, XkbUseCoreKbd, XkbMapNotifyMask | XkbNewKeyboardNotifyMask,
                    XkbMapNotifyMask | XkbNewKeyboardNotifyMask);
    XkbSelectEventDetails(display_, XkbUseCoreKbd, XkbStateNotify, XkbGroupStateMask,
                          XkbGroupStateMask);
    XkbStateRec state;
    if (XkbGetState(display_, XkbUseCoreKbd, &state) == Success)
        group_ = state.group;

    // Keycodes without any symbol can show symbols the layout lacks.
    int minKeycode = 0, maxKeycode = 0, perKeycode = 0;
    XDisplayKeycodes(display_, &minKeycode, &maxKeycode);
    KeySym* map = XGetKeyboardMapping(display_, static_cast<KeyCode>(minKeycode),
                                      maxKeycode - minKeycode + 1, &perKeycode);
    if (map) {
        for (int kc = maxKeycode; kc >= minKeycode && spares_.size() < kMaxSpares; --kc) {
            const KeySym* syms = map + (kc - minKeycode) * perKeycode;
            if (std::all_of(syms, syms + perKeycode, [](KeySym s) { return s == NoSymbol; }))
                spares_.push_back(static_cast<unsigned>(kc));
        }
        XFree(map);
    }
    refreshKeymap();
}

X11KeyInjector::~X11KeyInjector() {
    XErrorHandler previous = XSetErrorHandler(trapError);
    for (auto it = down_.rbegin(); it != down_.rend(); ++it)
        XTestFakeKeyEvent(display_, *it, False, CurrentTime);
    for (const auto& [sym, kc] : spareUse_) {
        KeySym none = NoSymbol;
        XChangeKeyboardMapping(display_, static_cast<int>(kc), 1, &none, 1);
    }
    try {
        if (numLockTurnedOn_ && lockedModifier(XK_Num_Lock)) {
            if (auto loc = locate(XK_Num_Lock)) {
                XTestFakeKeyEvent(display_, loc->keycode, True, CurrentTime);
                XTestFakeKeyEvent(display_, loc->keycode, False, CurrentTime);
            }
        }
    } catch (const KeyInjectorError&) {
        // The keyboard map could not be read: NumLock stays as it is.
    }
    XSync(display_, False);
    XSetErrorHandler(previous);
    if (xkb_)
        XkbFreeKeyboard(xkb_, 0, True);
    XCloseDisplay(display_);
}

X11KeyInjector::KeySym X11KeyInjector::keysymFor(int code) const {
    namespace K = KeyCodes;
    if (K::isDigit(code))
        return XK_0 + static_cast<KeySym>(code - K::DIGIT_0);
    if (K::isLetter(code))
        return XK_a + static_cast<KeySym>(code - K::A); // the key's unshifted symbol
    if (K::isNumpadDigit(code))
        return XK_KP_0 + static_cast<KeySym>(code - K::NUMPAD0);
    if (K::isFunctionKey(code))
        return XK_F1 + static_cast<KeySym>(code - K::F1);
    switch (code) {
    case K::TAB:
        return XK_Tab;
    case K::ENTER:
        return XK_Return;
    case K::SPACE:
        return XK_space;
    case K::RIGHT:
        return XK_Right;
    case K::DOWN:
        return XK_Down;
    case K::COMMA:
        return XK_comma;
    case K::MINUS:
        return XK_minus;
    case K::PERIOD:
        return XK_period;
    case K::SLASH:
        return XK_slash;
    case K::SEMICOLON:
        return XK_semicolon;
    case K::EQUALS:
        return XK_equal;
    case K::OPEN_BRACKET:
        return XK_bracketleft;
    case K::BACK_SLASH:
        return XK_backslash;
    case K::CLOSE_BRACKET:
        return XK_bracketright;
    case K::MULTIPLY:
        return XK_KP_Multiply;
    case K::ADD:
        return XK_KP_Add;
    case K::DIVIDE:
        return XK_KP_Divide;
    case K::DELETE:
        return XK_Delete;
    case K::DEAD_GRAVE:
        return XK_dead_grave;
    case K::DEAD_ACUTE:
        return XK_dead_acute;
    case K::DEAD_CIRCUMFLEX:
        return XK_dead_circumflex;
    case K::LESS:
        return XK_less;
    case K::BACK_QUOTE:
        return XK_grave;
    case K::QUOTE:
        return XK_apostrophe;
    case K::COLON:
        return XK_colon;
    case K::DOLLAR:
        return XK_dollar;
    case K::EXCLAMATION_MARK:
        return XK_exclam;
    case K::NUMBER_SIGN:
        return XK_numbersign;
    case K::MAIN_ADD:
        return XK_plus;
    case K::RIGHT_PARENTHESIS:
        return XK_parenright;
    default:
        throw KeyInjectorError("no key for key code " + std::to_string(code));
    }
}

void X11KeyInjector::refreshKeymap() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == MappingNotify) {
            keymapDirty_ = true;
        } else if (event.type == xkbEventBase_) {
            const auto* xkbEvent = reinterpret_cast<const XkbEvent*>(&event);
            if (xkbEvent->any.xkb_type == XkbStateNotify)
                group_ = xkbEvent->state.group;
            else
                keymapDirty_ = true;
        }
    }
    if (!keymapDirty_)
        return;
    if (xkb_)
        XkbFreeKeyboard(xkb_, 0, True);
    xkb_ = XkbGetMap(display_, XkbAllClientInfoMask, XkbUseCoreKbd);
    if (!xkb_)
        throw KeyInjectorError("cannot read the keyboard map");
    keymapDirty_ = false;
    const auto find = [this](KeySym sym) {
        auto loc = locate(sym);
        return loc ? loc->keycode : 0u;
    };
    shiftKey_ = find(XK_Shift_L);
    controlKey_ = find(XK_Control_L);
    altKey_ = find(XK_Alt_L);
    level3Key_ = find(XK_ISO_Level3_Shift);
    level3Mask_ = XkbKeysymToModifiers(display_, XK_ISO_Level3_Shift);
}

std::optional<X11KeyInjector::Location> X11KeyInjector::locate(KeySym sym) {
    if (keymapDirty_ || XPending(display_) > 0)
        refreshKeymap();
    for (int level = 0; level < 4; ++level) {
        for (int kc = xkb_->min_key_code; kc <= xkb_->max_key_code; ++kc) {
            const int groups = XkbKeyNumGroups(xkb_, kc);
            if (groups == 0)
                continue;
            const int group = group_ < groups ? group_ : 0;
            if (level < XkbKeyGroupWidth(xkb_, kc, group) &&
                XkbKeySymEntry(xkb_, kc, level, group) == sym)
                return Location{static_cast<unsigned>(kc), level};
        }
    }
    return std::nullopt;
}

unsigned X11KeyInjector::keycodeOf(KeySym sym) {
    if (auto loc = locate(sym))
        return loc->keycode;
    return spareFor(sym);
}

unsigned X11KeyInjector::spareFor(KeySym sym) {
    for (auto it = spareUse_.begin(); it != spareUse_.end(); ++it) {
        if (it->first == sym) {
            spareUse_.splice(spareUse_.end(), spareUse_, it);
            return spareUse_.back().second;
        }
    }
    if (spares_.empty())
        throw KeyInjectorError("the keyboard map has no spare keycode for the symbol " +
                               std::string(XKeysymToString(sym) ? XKeysymToString(sym) : "?"));
    unsigned kc = 0;
    if (spareUse_.size() < spares_.size()) {
        kc = spares_[spareUse_.size()];
    } else {
        kc = spareUse_.front().second; // the spare used longest ago
        spareUse_.pop_front();
    }
    KeySym syms[2] = {sym, sym};
    XChangeKeyboardMapping(display_, static_cast<int>(kc), 2, syms, 1);
    sync("remapping a spare keycode");
    spareUse_.emplace_back(sym, kc);
    keymapDirty_ = true;
    return kc;
}

void X11KeyInjector::sync(const char* what) {
    XErrorHandler previous = XSetErrorHandler(trapError);
    trappedError = 0;
    XSync(display_, False);
    XSetErrorHandler(previous);
    if (trappedError != 0) {
        char text[256] = {};
        XGetErrorText(display_, trappedError, text, sizeof text);
        throw KeyInjectorError(std::string(what) + ": " + text);
    }
}

void X11KeyInjector::fake(unsigned keycode, bool down) {
    if (keycode == 0)
        throw KeyInjectorError("the keyboard map has no key for a needed modifier");
    if (!XTestFakeKeyEvent(display_, keycode, down ? True : False, CurrentTime))
        throw KeyInjectorError("the X server refused a key event");
    sync(down ? "pressing a key" : "releasing a key");
    if (down) {
        down_.push_back(keycode);
    } else if (auto it = std::find(down_.rbegin(), down_.rend(), keycode); it != down_.rend()) {
        down_.erase(std::next(it).base());
    }
}

void X11KeyInjector::applyModifiers() {
    if (control_ && alt_ && level3Key_ != 0) {
        if (!level3Down_) {
            fake(level3Key_, true);
            level3Down_ = true;
        }
        return;
    }
    if (control_ && !controlDown_) {
        fake(controlKey_, true);
        controlDown_ = true;
    }
    if (alt_ && !altDown_) {
        fake(altKey_, true);
        altDown_ = true;
    }
}

void X11KeyInjector::dropUnneededModifiers() {
    if (level3Down_ && !(control_ && alt_)) {
        fake(level3Key_, false);
        level3Down_ = false;
    }
    if (controlDown_ && !control_) {
        fake(controlKey_, false);
        controlDown_ = false;
    }
    if (altDown_ && !alt_) {
        fake(altKey_, false);
        altDown_ = false;
    }
}

void X11KeyInjector::press(int code) {
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
        pressed_[code] = 0; // collected, not sent
        return;
    }
    composing_ = false; // any other key makes ALT an ordinary modifier
    if (code == KeyCodes::SHIFT) {
        refreshKeymap();
        fake(shiftKey_, true);
        pressed_[code] = shiftKey_;
        return;
    }
    lastKeycode_ = 0;
    const KeySym sym = keysymFor(code);
    if (KeyCodes::isNumpadDigit(code))
        ensureNumLock();
    const unsigned kc = keycodeOf(sym);
    applyModifiers();
    fake(kc, true);
    pressed_[code] = kc;
    holds_.pressed(kc);
    const auto shift = pressed_.find(KeyCodes::SHIFT);
    lastKeycode_ = kc;
    lastModifiers_ = (shift != pressed_.end() && shift->second != 0 ? ShiftMask : 0) |
                     (level3Down_ ? level3Mask_ : 0);
}

void X11KeyInjector::release(int code) {
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
            typeComposed(composed_);
        return;
    }
    auto it = pressed_.find(code);
    if (it == pressed_.end())
        return; // not down
    // A key a pause has released already stays up.
    const unsigned kc = it->second;
    if (kc != 0 && (code == KeyCodes::SHIFT || holds_.held(kc))) {
        fake(kc, false);
        holds_.released(kc);
    }
    pressed_.erase(it);
}

void X11KeyInjector::pressDeadKeySpace() {
    deadKeySpaceDown_ = false;
    if (lastKeycode_ != 0) {
        refreshKeymap();
        // Not a dead key here (AltGr+7 is a plain grave accent on the French layout): the
        // accent has arrived already, and a SPACE would follow it.
        if (!isDeadKey(symbolOf(lastKeycode_, lastModifiers_ | lockedState())))
            return;
    }
    press(KeyCodes::SPACE);
    deadKeySpaceDown_ = true;
}

void X11KeyInjector::releaseDeadKeySpace() {
    if (!deadKeySpaceDown_)
        return;
    release(KeyCodes::SPACE);
    deadKeySpaceDown_ = false;
}

void X11KeyInjector::typeComposed(unsigned long value) {
    // Latin-1 characters have key symbols equal to their codes.
    if (value < 0x20 || (value >= 0x7f && value < 0xa0) || value > 0xff)
        throw KeyInjectorError("the character code " + std::to_string(value) +
                               " cannot be typed as a key symbol");
    const KeySym sym = value;
    // The modifiers with which the key gives the symbol in the present state, Caps Lock
    // included: the character does not depend on Caps Lock, as with the other platform's
    // ALT codes (Shift makes up for Caps Lock on a letter).
    const unsigned state = lockedState();
    const auto modifiersFor = [&](unsigned keycode) -> std::optional<std::vector<unsigned>> {
        const std::pair<unsigned, std::vector<unsigned>> choices[] = {
            {0u, {}},
            {ShiftMask, {shiftKey_}},
            {level3Mask_, {level3Key_}},
            {ShiftMask | level3Mask_, {shiftKey_, level3Key_}}};
        for (const auto& [mask, keys] : choices) {
            if ((mask & level3Mask_) != 0 && (level3Key_ == 0 || level3Mask_ == 0))
                continue;
            if ((mask & ShiftMask) != 0 && shiftKey_ == 0)
                continue;
            if (symbolOf(keycode, state | mask) == sym)
                return keys;
        }
        return std::nullopt;
    };
    std::vector<unsigned> modifiers;
    unsigned kc = 0;
    if (const auto loc = locate(sym)) {
        if (auto keys = modifiersFor(loc->keycode)) {
            kc = loc->keycode;
            modifiers = std::move(*keys);
        }
    }
    if (kc == 0) {
        kc = spareFor(sym);
        refreshKeymap();
        modifiers = modifiersFor(kc).value_or(std::vector<unsigned>{});
    }
    std::vector<unsigned> held;
    try {
        for (unsigned m : modifiers) {
            fake(m, true);
            held.push_back(m);
        }
        fake(kc, true);
        held.push_back(kc);
        fake(kc, false);
        held.pop_back();
        while (!held.empty()) {
            fake(held.back(), false);
            held.pop_back();
        }
    } catch (const KeyInjectorError&) {
        for (auto it = held.rbegin(); it != held.rend(); ++it)
            XTestFakeKeyEvent(display_, *it, False, CurrentTime);
        XFlush(display_);
        throw;
    }
}

unsigned X11KeyInjector::lockedState() {
    XkbStateRec state;
    if (XkbGetState(display_, XkbUseCoreKbd, &state) != Success)
        return XkbBuildCoreState(0u, static_cast<unsigned>(group_));
    return XkbBuildCoreState(static_cast<unsigned>(state.locked_mods | state.latched_mods),
                             static_cast<unsigned>(state.group));
}

X11KeyInjector::KeySym X11KeyInjector::symbolOf(unsigned keycode, unsigned state) {
    unsigned consumed = 0;
    ::KeySym sym = NoSymbol;
    if (!XkbTranslateKeyCode(xkb_, static_cast<KeyCode>(keycode), state, &consumed, &sym))
        return NoSymbol;
    if ((state & LockMask) != 0 && (consumed & LockMask) == 0) {
        ::KeySym lower = NoSymbol, upper = NoSymbol;
        XConvertCase(sym, &lower, &upper);
        sym = upper;
    }
    return sym;
}

bool X11KeyInjector::lockedModifier(KeySym lockKey) {
    const unsigned mask =
        lockKey == XK_Caps_Lock ? LockMask : XkbKeysymToModifiers(display_, lockKey);
    XkbStateRec state;
    if (mask == 0 || XkbGetState(display_, XkbUseCoreKbd, &state) != Success)
        return false;
    return (state.locked_mods & mask) != 0;
}

void X11KeyInjector::ensureNumLock() {
    // Keypad digits type nothing while NumLock is off; it is turned on for them and turned
    // off again when the injector closes.
    if (lockedModifier(XK_Num_Lock))
        return;
    const auto loc = locate(XK_Num_Lock);
    if (!loc)
        return;
    fake(loc->keycode, true);
    fake(loc->keycode, false);
    numLockTurnedOn_ = true;
}

void X11KeyInjector::pause(int ms, std::stop_token stop) {
    holds_.pause(ms, stop, [this](unsigned keycode) { fake(keycode, false); });
}

bool X11KeyInjector::capsLockOn() {
    return lockedModifier(XK_Caps_Lock);
}

std::unique_ptr<KeyInjector> createKeyInjector() {
    return std::make_unique<X11KeyInjector>();
}

} // namespace platform
