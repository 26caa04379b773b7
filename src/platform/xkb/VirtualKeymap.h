#pragma once

#include "platform/xkb/KeySymbols.h"
#include "platform/xkb/SessionLayout.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace platform::xkb {

// The keymap a virtual keyboard uploads: the keys the key codes name, copied with all their levels
// from the user's layout so that SHIFT, AltGr and dead keys act as they do on the user's own
// keyboard; the modifier keys; and keys for the characters an ALT code may type that the layout
// lacks. It holds exactly these symbols and is built once, so that it never changes while keys
// are typed.
class VirtualKeymap {
public:
    // A key and the modifiers (a mask of this keymap) that make it give a symbol.
    struct Stroke {
        std::uint32_t keycode; // XKB keycode (evdev code + 8)
        std::uint32_t mods;
    };

    // Throws KeyInjectorError when no usable keymap can be built.
    explicit VirtualKeymap(const SessionLayout& layout);
    ~VirtualKeymap();
    VirtualKeymap(const VirtualKeymap&) = delete;
    VirtualKeymap& operator=(const VirtualKeymap&) = delete;

    // The whole keymap in the XKB text format, self-contained.
    const std::string& text() const { return text_; }
    // The key a key code names; nothing for codes without a key.
    std::optional<std::uint32_t> keycodeFor(int code) const;
    // The key and modifiers that type a character on its own; nothing outside Latin-1.
    std::optional<Stroke> strokeForCharacter(unsigned long value) const;
    // The symbol a key gives with these modifiers held (the locked ones included).
    Keysym symbolOf(std::uint32_t keycode, std::uint32_t depressed) const;

    std::uint32_t shiftKey() const { return shiftKey_; }
    std::uint32_t controlKey() const { return controlKey_; }
    std::uint32_t altKey() const { return altKey_; }
    std::uint32_t level3Key() const { return level3Key_; }

    // The modifier masks of this keymap.
    std::uint32_t shiftMask() const { return SessionLayout::shiftMask(); }
    std::uint32_t controlMask() const { return SessionLayout::controlMask(); }
    std::uint32_t altMask() const { return altMask_; }
    std::uint32_t level3Mask() const { return level3Mask_; }
    // NumLock stays locked so that keypad keys give digits.
    std::uint32_t lockedMask() const { return numLockMask_; }

private:
    std::unique_ptr<xkb_keymap, SessionLayout::Deleters> keymap_;
    std::unique_ptr<xkb_state, SessionLayout::Deleters> state_;
    std::string text_;

    std::map<int, std::uint32_t> codeKeys_;
    std::map<Keysym, Stroke> characters_;
    std::uint32_t shiftKey_ = 0, controlKey_ = 0, altKey_ = 0, level3Key_ = 0;
    std::uint32_t altMask_, level3Mask_, numLockMask_;
};

} // namespace platform::xkb
