#pragma once

// The key codes by which the keystroke engine presses and releases keys. One code names one
// physical key; the injection back-ends translate it into the platform's own key identifiers.
// Plain C++ in a folder of its own, below both its users: the configuration (layout tables,
// start and terminator keys) and the platform back-ends.

namespace serwedge::config::KeyCodes {

constexpr int TAB = 9;
constexpr int ENTER = 10;
constexpr int SHIFT = 16;
constexpr int CONTROL = 17;
constexpr int ALT = 18;
constexpr int SPACE = 32;
constexpr int RIGHT = 39;
constexpr int DOWN = 40;
constexpr int COMMA = 44;
constexpr int MINUS = 45;
constexpr int PERIOD = 46;
constexpr int SLASH = 47;
// The digit keys of the main block: DIGIT_0 + n is the key n.
constexpr int DIGIT_0 = 48;
constexpr int DIGIT_1 = 49;
constexpr int DIGIT_2 = 50;
constexpr int DIGIT_3 = 51;
constexpr int DIGIT_4 = 52;
constexpr int DIGIT_5 = 53;
constexpr int DIGIT_6 = 54;
constexpr int DIGIT_7 = 55;
constexpr int DIGIT_8 = 56;
constexpr int DIGIT_9 = 57;
constexpr int SEMICOLON = 59;
constexpr int EQUALS = 61;
// The letter keys: A + n is the n-th letter.
constexpr int A = 65;
constexpr int Q = 81;
constexpr int Z = 90;
constexpr int OPEN_BRACKET = 91;
constexpr int BACK_SLASH = 92;
constexpr int CLOSE_BRACKET = 93;
// The digit keys of the numeric keypad: NUMPAD0 + n is the key n.
constexpr int NUMPAD0 = 96;
constexpr int NUMPAD9 = 105;
constexpr int MULTIPLY = 106;
constexpr int ADD = 107;
constexpr int DIVIDE = 111;
// The function keys: F1 + n - 1 is the key Fn.
constexpr int F1 = 112;
constexpr int F12 = 123;
constexpr int DELETE = 127;
constexpr int DEAD_GRAVE = 128;
constexpr int DEAD_ACUTE = 129;
constexpr int DEAD_CIRCUMFLEX = 130;
constexpr int LESS = 153;
constexpr int BACK_QUOTE = 192;
constexpr int QUOTE = 222;
constexpr int COLON = 513;
constexpr int DOLLAR = 515;
constexpr int EXCLAMATION_MARK = 517;
constexpr int NUMBER_SIGN = 520;
constexpr int MAIN_ADD = 521;
constexpr int RIGHT_PARENTHESIS = 522;

constexpr int digit(int n) {
    return DIGIT_0 + n;
}
constexpr int numpad(int n) {
    return NUMPAD0 + n;
}
constexpr int letter(char upper) {
    return A + (upper - 'A');
}

constexpr bool isDigit(int code) {
    return code >= DIGIT_0 && code <= DIGIT_9;
}
constexpr bool isLetter(int code) {
    return code >= A && code <= Z;
}
constexpr bool isNumpadDigit(int code) {
    return code >= NUMPAD0 && code <= NUMPAD9;
}
constexpr bool isFunctionKey(int code) {
    return code >= F1 && code <= F12;
}

} // namespace serwedge::config::KeyCodes
