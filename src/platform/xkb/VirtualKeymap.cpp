#include "platform/xkb/VirtualKeymap.h"

#include "platform/KeyInjector.h"

#include <xkbcommon/xkbcommon.h>

#include <array>
#include <cstdlib>
#include <set>
#include <sstream>
#include <vector>

namespace platform::xkb {

namespace {

constexpr std::array<const char*, 8> kRealModifiers = {"Shift", "Lock", "Control", "Mod1",
                                                       "Mod2",  "Mod3", "Mod4",    "Mod5"};
// Keycode 8 is evdev's "reserved" key; keycodes above 255 reach no X11 client through XWayland.
constexpr xkb_keycode_t kLowestSpare = 9;
constexpr xkb_keycode_t kHighestSpare = 255;

std::string modifierNames(std::uint32_t mask) {
    std::string names;
    for (std::size_t bit = 0; bit < kRealModifiers.size(); ++bit) {
        if (mask & (1u << bit)) {
            if (!names.empty())
                names += '+';
            names += kRealModifiers[bit];
        }
    }
    return names.empty() ? "none" : names;
}

std::string firstModifierName(std::uint32_t mask) {
    for (std::size_t bit = 0; bit < kRealModifiers.size(); ++bit)
        if (mask & (1u << bit))
            return kRealModifiers[bit];
    return "Mod5";
}

std::string symbolName(xkb_keysym_t sym) {
    char name[64] = {};
    return xkb_keysym_get_name(sym, name, sizeof name) > 0 ? std::string(name) : "NoSymbol";
}

std::string keyName(xkb_keycode_t keycode) {
    return "<K" + std::to_string(keycode) + ">";
}

bool isCharacter(xkb_keysym_t sym) {
    return keysymForCharacter(sym).has_value();
}

} // namespace

VirtualKeymap::VirtualKeymap(const SessionLayout& layout)
    : altMask_(layout.altMask()), level3Mask_(layout.level3Mask()),
      numLockMask_(layout.numLockMask()) {
    xkb_keymap* const user = layout.keymap();
    // The keys the key codes name, as the layout has them; symbols it lacks get keys of their own.
    std::set<xkb_keycode_t> used;
    std::set<xkb_keycode_t> copied;
    std::vector<std::pair<int, xkb_keysym_t>> ownKeys;
    for (int code = 0; code < 1024; ++code) {
        const auto sym = keysymForCode(code);
        if (!sym)
            continue;
        if (auto kc = layout.keyFor(*sym)) {
            codeKeys_[code] = *kc;
            copied.insert(*kc);
            used.insert(*kc);
        } else {
            ownKeys.emplace_back(code, *sym);
        }
    }
    struct Modifier {
        xkb_keysym_t sym;
        std::uint32_t* key;
        std::uint32_t mask;
    };
    const std::array<Modifier, 5> modifiers = {
        {{XKB_KEY_Shift_L, &shiftKey_, shiftMask()},
         {XKB_KEY_Control_L, &controlKey_, controlMask()},
         {XKB_KEY_Alt_L, &altKey_, altMask_},
         {XKB_KEY_ISO_Level3_Shift, &level3Key_, level3Mask_},
         {XKB_KEY_Num_Lock, nullptr, numLockMask_}}};
    std::array<xkb_keycode_t, 5> modifierKeys = {};
    for (std::size_t i = 0; i < modifiers.size(); ++i) {
        const auto kc = layout.keyFor(modifiers[i].sym);
        if (kc && !used.contains(*kc)) {
            modifierKeys[i] = *kc;
            used.insert(*kc);
        }
    }
    xkb_keycode_t nextSpare = kHighestSpare;
    const auto spare = [&] {
        while (nextSpare >= kLowestSpare && used.contains(nextSpare))
            --nextSpare;
        if (nextSpare < kLowestSpare)
            throw KeyInjectorError("the virtual keyboard has no keycode left for a symbol");
        used.insert(nextSpare);
        return nextSpare;
    };
    for (std::size_t i = 0; i < modifiers.size(); ++i) {
        if (modifierKeys[i] == 0)
            modifierKeys[i] = spare();
        if (modifiers[i].key)
            *modifiers[i].key = modifierKeys[i];
    }

    // Characters for ALT codes: where the copied keys give them with SHIFT and AltGr, else on
    // keys of their own, two to a key (the second with SHIFT).
    for (std::uint32_t mods : {0u, shiftMask(), level3Mask_, shiftMask() | level3Mask_}) {
        for (xkb_keycode_t kc : copied) {
            const xkb_keysym_t sym = layout.symbolAt(kc, mods);
            if (isCharacter(sym) && !characters_.contains(sym))
                characters_[sym] = {kc, mods};
        }
    }
    std::ostringstream symbols;
    for (const auto& [code, sym] : ownKeys) {
        const xkb_keycode_t kc = spare();
        codeKeys_[code] = kc;
        if (isCharacter(sym) && !characters_.contains(sym))
            characters_[sym] = {kc, 0};
        symbols << "  key " << keyName(kc) << " { type = \"ONE_LEVEL\", symbols[Group1] = [ "
                << symbolName(sym) << " ] };\n";
    }
    std::vector<xkb_keysym_t> missing;
    for (unsigned long c = 0x20; c <= 0xff; ++c)
        if (auto sym = keysymForCharacter(c); sym && !characters_.contains(*sym))
            missing.push_back(*sym);
    for (std::size_t i = 0; i < missing.size(); i += 2) {
        const xkb_keycode_t kc = spare();
        const xkb_keysym_t second = i + 1 < missing.size() ? missing[i + 1] : missing[i];
        characters_[missing[i]] = {kc, 0};
        characters_.try_emplace(second, Stroke{kc, shiftMask()});
        symbols << "  key " << keyName(kc) << " { type = \"PAIR\", symbols[Group1] = [ "
                << symbolName(missing[i]) << ", " << symbolName(second) << " ] };\n";
    }
    for (std::size_t i = 0; i < modifiers.size(); ++i)
        symbols << "  key " << keyName(modifierKeys[i])
                << " { type = \"ONE_LEVEL\", symbols[Group1] = [ " << symbolName(modifiers[i].sym)
                << " ] };\n  modifier_map " << firstModifierName(modifiers[i].mask) << " { "
                << keyName(modifierKeys[i]) << " };\n";

    // The copied keys keep their levels and the modifiers that choose them.
    std::ostringstream types;
    types << "  type \"ONE_LEVEL\" { modifiers = none; level_name[Level1] = \"Any\"; };\n"
          << "  type \"PAIR\" { modifiers = Shift; map[Shift] = Level2; "
             "level_name[Level1] = \"Base\"; level_name[Level2] = \"Shift\"; };\n";
    std::map<std::string, std::string> typeNames;
    for (xkb_keycode_t kc : copied) {
        const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(user, kc, 0);
        std::uint32_t all = 0;
        std::ostringstream maps;
        std::string levelSymbols;
        for (xkb_level_index_t level = 0; level < levels; ++level) {
            std::array<xkb_mod_mask_t, 16> masks = {};
            const std::size_t n =
                xkb_keymap_key_get_mods_for_level(user, kc, 0, level, masks.data(), masks.size());
            for (std::size_t m = 0; m < n; ++m) {
                const std::uint32_t mask = masks[m] & 0xffu;
                all |= mask;
                if (mask != 0)
                    maps << " map[" << modifierNames(mask) << "] = Level" << level + 1 << ";";
            }
            const xkb_keysym_t* syms = nullptr;
            const int count = xkb_keymap_key_get_syms_by_level(user, kc, 0, level, &syms);
            levelSymbols +=
                (level ? ", " : "") + symbolName(count > 0 ? syms[0] : XKB_KEY_NoSymbol);
        }
        std::ostringstream body;
        body << "modifiers = " << modifierNames(all) << ";" << maps.str();
        for (xkb_level_index_t level = 0; level < levels; ++level)
            body << " level_name[Level" << level + 1 << "] = \"" << level + 1 << "\";";
        auto [it, added] =
            typeNames.try_emplace(body.str(), "COPIED" + std::to_string(typeNames.size()));
        if (added)
            types << "  type \"" << it->second << "\" { " << body.str() << " };\n";
        symbols << "  key " << keyName(kc) << " { type = \"" << it->second
                << "\", symbols[Group1] = [ " << levelSymbols << " ] };\n";
    }

    std::ostringstream keycodes;
    for (xkb_keycode_t kc : used)
        keycodes << "  " << keyName(kc) << " = " << kc << ";\n";
    std::ostringstream text;
    text << "xkb_keymap {\n"
         << "xkb_keycodes \"tallyra\" {\n  minimum = 8;\n  maximum = 255;\n"
         << keycodes.str() << "};\n"
         << "xkb_types \"tallyra\" {\n  virtual_modifiers NumLock,Alt,LevelThree;\n"
         << types.str() << "};\n"
         << "xkb_compatibility \"tallyra\" {\n  virtual_modifiers NumLock,Alt,LevelThree;\n"
         << "  interpret Shift_L { action = SetMods(modifiers=Shift); };\n"
         << "  interpret Control_L { action = SetMods(modifiers=Control); };\n"
         << "  interpret Alt_L { useModMapMods = level1; virtualModifier = Alt;"
            " action = SetMods(modifiers=modMapMods); };\n"
         << "  interpret ISO_Level3_Shift { useModMapMods = level1;"
            " virtualModifier = LevelThree; action = SetMods(modifiers=modMapMods); };\n"
         << "  interpret Num_Lock { virtualModifier = NumLock;"
            " action = LockMods(modifiers=NumLock); };\n"
         << "};\n"
         << "xkb_symbols \"tallyra\" {\n"
         << symbols.str() << "};\n"
         << "};\n";

    keymap_.reset(xkb_keymap_new_from_string(layout.context(), text.str().c_str(),
                                             XKB_KEYMAP_FORMAT_TEXT_V1,
                                             XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap_)
        throw KeyInjectorError("the keymap of the virtual keyboard does not compile");
    char* compiled = xkb_keymap_get_as_string(keymap_.get(), XKB_KEYMAP_FORMAT_TEXT_V1);
    if (!compiled)
        throw KeyInjectorError("the keymap of the virtual keyboard cannot be written out");
    text_ = compiled;
    std::free(compiled);
    state_.reset(xkb_state_new(keymap_.get()));
    if (!state_)
        throw KeyInjectorError("the XKB library is out of memory");
}

VirtualKeymap::~VirtualKeymap() = default;

std::optional<std::uint32_t> VirtualKeymap::keycodeFor(int code) const {
    auto it = codeKeys_.find(code);
    if (it == codeKeys_.end())
        return std::nullopt;
    return it->second;
}

std::optional<VirtualKeymap::Stroke> VirtualKeymap::strokeForCharacter(unsigned long value) const {
    const auto sym = keysymForCharacter(value);
    if (!sym)
        return std::nullopt;
    auto it = characters_.find(*sym);
    if (it == characters_.end())
        return std::nullopt;
    return it->second;
}

Keysym VirtualKeymap::symbolOf(std::uint32_t keycode, std::uint32_t depressed) const {
    xkb_state_update_mask(state_.get(), depressed, 0, numLockMask_, 0, 0, 0);
    return xkb_state_key_get_one_sym(state_.get(), keycode);
}

} // namespace platform::xkb
