#include "platform/win/WinKeyInjector.h"

#include "keys/KeyCodes.h"

#include <windows.h>
// winnt.h names an access right DELETE; here DELETE is the key code.
#undef DELETE

#include <algorithm>
#include <initializer_list>
#include <string>

namespace platform {

namespace KeyCodes = serwedge::config::KeyCodes;

namespace {

HKL focusedLayout() {
    const HWND window = GetForegroundWindow();
    return GetKeyboardLayout(window ? GetWindowThreadProcessId(window, nullptr) : 0);
}

// The virtual key of the key that types one of the characters in the layout, else fallback.
unsigned short keyForCharacter(std::initializer_list<wchar_t> characters, unsigned short fallback) {
    const HKL layout = focusedLayout();
    for (wchar_t c : characters) {
        const SHORT result = VkKeyScanExW(c, layout);
        if (result != -1 && LOBYTE(result) != 0xFF)
            return LOBYTE(result);
    }
    return fallback;
}

unsigned short virtualKey(int code) {
    namespace K = KeyCodes;
    // Digits and letters: the virtual keys of the main block carry the same numbers.
    if (K::isDigit(code) || K::isLetter(code))
        return static_cast<unsigned short>(code);
    if (K::isNumpadDigit(code))
        return static_cast<unsigned short>(VK_NUMPAD0 + (code - K::NUMPAD0));
    if (K::isFunctionKey(code))
        return static_cast<unsigned short>(VK_F1 + (code - K::F1));
    switch (code) {
    case K::TAB:
        return VK_TAB;
    case K::ENTER:
        return VK_RETURN;
    case K::SHIFT:
        return VK_SHIFT;
    case K::CONTROL:
        return VK_CONTROL;
    case K::ALT:
        return VK_MENU;
    case K::SPACE:
        return VK_SPACE;
    case K::RIGHT:
        return VK_RIGHT;
    case K::DOWN:
        return VK_DOWN;
    case K::MULTIPLY:
        return VK_MULTIPLY;
    case K::ADD:
        return VK_ADD;
    case K::DIVIDE:
        return VK_DIVIDE;
    case K::DELETE:
        return VK_DELETE;
    case K::LESS:
        return VK_OEM_102;
    case K::COMMA:
        return keyForCharacter({L','}, VK_OEM_COMMA);
    case K::MINUS:
        return keyForCharacter({L'-'}, VK_OEM_MINUS);
    case K::PERIOD:
        return keyForCharacter({L'.'}, VK_OEM_PERIOD);
    case K::SLASH:
        return keyForCharacter({L'/'}, VK_OEM_2);
    case K::SEMICOLON:
        return keyForCharacter({L';'}, VK_OEM_1);
    case K::EQUALS:
        return keyForCharacter({L'='}, VK_OEM_PLUS);
    case K::OPEN_BRACKET:
        return keyForCharacter({L'['}, VK_OEM_4);
    case K::BACK_SLASH:
        return keyForCharacter({L'\\'}, VK_OEM_5);
    case K::CLOSE_BRACKET:
        return keyForCharacter({L']'}, VK_OEM_6);
    case K::BACK_QUOTE:
        return keyForCharacter({L'`'}, VK_OEM_3);
    case K::QUOTE:
        return keyForCharacter({L'\''}, VK_OEM_7);
    case K::COLON:
        return keyForCharacter({L':'}, VK_OEM_2);
    case K::DOLLAR:
        return keyForCharacter({L'$'}, VK_OEM_1);
    case K::EXCLAMATION_MARK:
        return keyForCharacter({L'!'}, VK_OEM_8);
    case K::NUMBER_SIGN:
        return keyForCharacter({L'#'}, VK_OEM_2);
    case K::MAIN_ADD:
        return keyForCharacter({L'+'}, VK_OEM_PLUS);
    case K::RIGHT_PARENTHESIS:
        return keyForCharacter({L')'}, VK_OEM_4);
    // Dead keys: the key whose dead character is the accent.
    case K::DEAD_GRAVE:
        return keyForCharacter({L'`'}, VK_OEM_3);
    case K::DEAD_ACUTE:
        return keyForCharacter({L'\u00b4', L'\''}, VK_OEM_7);
    case K::DEAD_CIRCUMFLEX:
        return keyForCharacter({L'^'}, VK_OEM_6);
    default:
        throw KeyInjectorError("no key for key code " + std::to_string(code));
    }
}

bool isExtended(unsigned short vk) {
    switch (vk) {
    case VK_RIGHT:
    case VK_DOWN:
    case VK_DELETE:
    case VK_DIVIDE:
        return true;
    default:
        return false;
    }
}

std::string lastErrorText() {
    const DWORD error = GetLastError();
    char text[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   text, sizeof text, nullptr);
    std::string message(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : message;
}

} // namespace

WinKeyInjector::~WinKeyInjector() {
    for (auto it = down_.rbegin(); it != down_.rend(); ++it) {
        try {
            send(*it, false);
        } catch (const KeyInjectorError&) {
            // Nothing more can be done for a key the system refuses to release.
        }
    }
}

void WinKeyInjector::send(unsigned short vk, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, focusedLayout()));
    input.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (isExtended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    if (SendInput(1, &input, sizeof input) != 1)
        throw KeyInjectorError("SendInput refused the key: " + lastErrorText());
    if (down) {
        down_.push_back(vk);
    } else if (auto it = std::find(down_.rbegin(), down_.rend(), vk); it != down_.rend()) {
        down_.erase(std::next(it).base());
    }
}

void WinKeyInjector::press(int code) {
    send(virtualKey(code), true);
}

void WinKeyInjector::release(int code) {
    send(virtualKey(code), false);
}

void WinKeyInjector::pause(int ms, std::stop_token stop) {
    interruptibleSleep(ms, stop);
}

bool WinKeyInjector::capsLockOn() {
    return (GetKeyState(VK_CAPITAL) & 1) != 0;
}

std::unique_ptr<KeyInjector> createKeyInjector() {
    return std::make_unique<WinKeyInjector>();
}

} // namespace platform
