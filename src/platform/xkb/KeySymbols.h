#pragma once

// The key symbol each key code names, for the back-ends that speak in XKB key symbols (Wayland
// virtual keyboard, desktop portal): the key of a US keyboard, or the named key for the French
// and German codes. The keyboard layout decides which character a symbol and its modifiers give.

#include <cstdint>
#include <optional>

namespace platform::xkb {

using Keysym = std::uint32_t;

// The symbol of the key, or nothing for a code without a key (the modifiers included).
std::optional<Keysym> keysymForCode(int code);

// The symbol that types the character with this code on its own (ALT codes), or nothing when the
// code names no printable character of the Latin-1 range.
std::optional<Keysym> keysymForCharacter(unsigned long value);

// A dead key: it types nothing itself and waits for the key that completes it.
bool isDeadKeysym(Keysym sym);

} // namespace platform::xkb
