#include "platform/xkb/SessionLayout.h"

#include "platform/KeyInjector.h"

#include <xkbcommon/xkbcommon.h>

#include <algorithm>

namespace platform::xkb {

namespace {

// Keycode 8 is evdev's "reserved" key; keycodes above 255 reach no X11 client through XWayland.
constexpr xkb_keycode_t kLowestKeycode = 9;
constexpr xkb_keycode_t kHighestKeycode = 255;

} // namespace

void SessionLayout::Deleters::operator()(xkb_context* c) const {
    xkb_context_unref(c);
}
void SessionLayout::Deleters::operator()(xkb_keymap* k) const {
    xkb_keymap_unref(k);
}
void SessionLayout::Deleters::operator()(xkb_state* s) const {
    xkb_state_unref(s);
}

SessionLayout::SessionLayout(const std::string& keymap)
    : context_(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {
    if (!context_)
        throw KeyInjectorError("the XKB library cannot start");
    if (!keymap.empty())
        keymap_.reset(xkb_keymap_new_from_buffer(context_.get(), keymap.data(), keymap.size(),
                                                 XKB_KEYMAP_FORMAT_TEXT_V1,
                                                 XKB_KEYMAP_COMPILE_NO_FLAGS));
    given_ = keymap_ != nullptr;
    if (!keymap_)
        keymap_.reset(
            xkb_keymap_new_from_names(context_.get(), nullptr, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap_)
        throw KeyInjectorError("no keyboard layout can be read or compiled");
    state_.reset(xkb_state_new(keymap_.get()));
    if (!state_)
        throw KeyInjectorError("the XKB library is out of memory");
    numLockMask_ = modifiersOf(XKB_KEY_Num_Lock, numLockMask_);
    altMask_ = modifiersOf(XKB_KEY_Alt_L, altMask_);
    level3Mask_ = modifiersOf(XKB_KEY_ISO_Level3_Shift, level3Mask_);
}

SessionLayout::~SessionLayout() = default;

std::optional<std::uint32_t> SessionLayout::keyFor(Keysym sym) const {
    xkb_keymap* map = keymap_.get();
    for (xkb_level_index_t level = 0; level < 4; ++level) {
        for (xkb_keycode_t kc = std::max(kLowestKeycode, xkb_keymap_min_keycode(map));
             kc <= std::min(kHighestKeycode, xkb_keymap_max_keycode(map)); ++kc) {
            const xkb_keysym_t* syms = nullptr;
            if (xkb_keymap_num_layouts_for_key(map, kc) > 0 &&
                xkb_keymap_key_get_syms_by_level(map, kc, 0, level, &syms) > 0 && syms[0] == sym)
                return kc;
        }
    }
    return std::nullopt;
}

Keysym SessionLayout::symbolAt(std::uint32_t keycode, std::uint32_t depressed) const {
    xkb_state_update_mask(state_.get(), depressed, 0, numLockMask_, 0, 0, 0);
    return xkb_state_key_get_one_sym(state_.get(), keycode);
}

std::uint32_t SessionLayout::modifiersOf(Keysym sym, std::uint32_t fallback) const {
    // The real modifiers the key sets (Mod1, Mod2 and Mod5 as a rule).
    const auto kc = keyFor(sym);
    if (!kc)
        return fallback;
    std::unique_ptr<xkb_state, Deleters> probe(xkb_state_new(keymap_.get()));
    if (!probe)
        return fallback;
    xkb_state_update_key(probe.get(), *kc, XKB_KEY_DOWN);
    const std::uint32_t mask =
        xkb_state_serialize_mods(probe.get(), XKB_STATE_MODS_EFFECTIVE) & 0xffu;
    return mask != 0 ? mask : fallback;
}

} // namespace platform::xkb
