#include "platform/xkb/KeySymbols.h"

#include "keys/KeyCodes.h"

#include <xkbcommon/xkbcommon-keysyms.h>

namespace platform::xkb {

namespace K = serwedge::config::KeyCodes;

std::optional<Keysym> keysymForCode(int code) {
    if (K::isDigit(code))
        return XKB_KEY_0 + static_cast<Keysym>(code - K::DIGIT_0);
    if (K::isLetter(code))
        return XKB_KEY_a + static_cast<Keysym>(code - K::A); // the key's unshifted symbol
    if (K::isNumpadDigit(code))
        return XKB_KEY_KP_0 + static_cast<Keysym>(code - K::NUMPAD0);
    if (K::isFunctionKey(code))
        return XKB_KEY_F1 + static_cast<Keysym>(code - K::F1);
    switch (code) {
    case K::TAB:
        return XKB_KEY_Tab;
    case K::ENTER:
        return XKB_KEY_Return;
    case K::SPACE:
        return XKB_KEY_space;
    case K::RIGHT:
        return XKB_KEY_Right;
    case K::DOWN:
        return XKB_KEY_Down;
    case K::COMMA:
        return XKB_KEY_comma;
    case K::MINUS:
        return XKB_KEY_minus;
    case K::PERIOD:
        return XKB_KEY_period;
    case K::SLASH:
        return XKB_KEY_slash;
    case K::SEMICOLON:
        return XKB_KEY_semicolon;
    case K::EQUALS:
        return XKB_KEY_equal;
    case K::OPEN_BRACKET:
        return XKB_KEY_bracketleft;
    case K::BACK_SLASH:
        return XKB_KEY_backslash;
    case K::CLOSE_BRACKET:
        return XKB_KEY_bracketright;
    case K::MULTIPLY:
        return XKB_KEY_KP_Multiply;
    case K::ADD:
        return XKB_KEY_KP_Add;
    case K::DIVIDE:
        return XKB_KEY_KP_Divide;
    case K::DELETE:
        return XKB_KEY_Delete;
    case K::DEAD_GRAVE:
        return XKB_KEY_dead_grave;
    case K::DEAD_ACUTE:
        return XKB_KEY_dead_acute;
    case K::DEAD_CIRCUMFLEX:
        return XKB_KEY_dead_circumflex;
    case K::LESS:
        return XKB_KEY_less;
    case K::BACK_QUOTE:
        return XKB_KEY_grave;
    case K::QUOTE:
        return XKB_KEY_apostrophe;
    case K::COLON:
        return XKB_KEY_colon;
    case K::DOLLAR:
        return XKB_KEY_dollar;
    case K::EXCLAMATION_MARK:
        return XKB_KEY_exclam;
    case K::NUMBER_SIGN:
        return XKB_KEY_numbersign;
    case K::MAIN_ADD:
        return XKB_KEY_plus;
    case K::RIGHT_PARENTHESIS:
        return XKB_KEY_parenright;
    default:
        return std::nullopt;
    }
}

std::optional<Keysym> keysymForCharacter(unsigned long value) {
    // Latin-1 characters have key symbols equal to their codes.
    if (value < 0x20 || (value >= 0x7f && value < 0xa0) || value > 0xff)
        return std::nullopt;
    return static_cast<Keysym>(value);
}

bool isDeadKeysym(Keysym sym) {
    return sym >= XKB_KEY_dead_grave && sym <= XKB_KEY_dead_longsolidusoverlay;
}

} // namespace platform::xkb
