#pragma once

#include "platform/xkb/KeySymbols.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace platform::xkb {

// The keyboard layout the user types with, in its first group, and the X11 rule that the key
// codes follow in it: a key code names a key symbol, and the key that carries that symbol (at
// the lowest level) is the key pressed, so that "the 3 key" of a French layout types its first
// level, the double quote.
class SessionLayout {
public:
    // keymap: the user's keymap in the XKB text format, as a compositor sends it; empty or
    // unreadable: the layout named by the XKB_DEFAULT_* environment variables (else "us").
    // Throws KeyInjectorError when no layout can be compiled.
    explicit SessionLayout(const std::string& keymap);
    ~SessionLayout();
    SessionLayout(const SessionLayout&) = delete;
    SessionLayout& operator=(const SessionLayout&) = delete;

    xkb_context* context() const { return context_.get(); }
    xkb_keymap* keymap() const { return keymap_.get(); }
    // Whether the given keymap was read (false: the default layout stood in for it).
    bool given() const { return given_; }

    // The key carrying the symbol, lowest level first, then lowest keycode.
    std::optional<std::uint32_t> keyFor(Keysym sym) const;
    // The symbol a key gives with these modifiers held (NumLock is taken as on).
    Keysym symbolAt(std::uint32_t keycode, std::uint32_t depressed) const;

    // Real modifier masks of the layout's modifier keys.
    static constexpr std::uint32_t shiftMask() { return 1u; }
    static constexpr std::uint32_t controlMask() { return 1u << 2; }
    std::uint32_t altMask() const { return altMask_; }
    std::uint32_t level3Mask() const { return level3Mask_; }
    std::uint32_t numLockMask() const { return numLockMask_; }

    struct Deleters {
        void operator()(xkb_context* c) const;
        void operator()(xkb_keymap* k) const;
        void operator()(xkb_state* s) const;
    };

private:
    std::uint32_t modifiersOf(Keysym sym, std::uint32_t fallback) const;

    std::unique_ptr<xkb_context, Deleters> context_;
    std::unique_ptr<xkb_keymap, Deleters> keymap_;
    std::unique_ptr<xkb_state, Deleters> state_;
    bool given_ = false;
    std::uint32_t altMask_ = 1u << 3, level3Mask_ = 1u << 7, numLockMask_ = 1u << 4;
};

} // namespace platform::xkb
