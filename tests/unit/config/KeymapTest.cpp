// The layout tables, checked against a transcription of the key names per character.

#include "config/ConfigHelper.h"
#include "keys/KeyCodes.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

using serwedge::config::ConfigHelper::KeyboardType;
using serwedge::config::ConfigHelper::Keymap;
using serwedge::config::ConfigHelper::KeyMapType;

namespace {

// Key names as the layout tables write them.
int codeOf(const std::string& name) {
    static const std::map<std::string, int> names = {
        {"TAB", 9},           {"ENTER", 10},       {"SHIFT", 16},
        {"CONTROL", 17},      {"ALT", 18},         {"SPACE", 32},
        {"COMMA", 44},        {"MINUS", 45},       {"PERIOD", 46},
        {"SLASH", 47},        {"SEMICOLON", 59},   {"EQUALS", 61},
        {"OPEN_BRACKET", 91}, {"BACK_SLASH", 92},  {"CLOSE_BRACKET", 93},
        {"MULTIPLY", 106},    {"ADD", 107},        {"DIVIDE", 111},
        {"DEAD_GRAVE", 128},  {"DEAD_ACUTE", 129}, {"DEAD_CIRCUMFLEX", 130},
        {"LESS", 153},        {"BACK_QUOTE", 192}, {"QUOTE", 222},
        {"COLON", 513},       {"DOLLAR", 515},     {"EXCLAMATION_MARK", 517},
        {"NUMBER_SIGN", 520}, {"MAIN_ADD", 521},   {"RIGHT_PARENTHESIS", 522}};
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9')
        return 48 + (name[0] - '0');
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z')
        return 65 + (name[0] - 'A');
    if (name.rfind("NUMPAD", 0) == 0)
        return 96 + std::stoi(name.substr(6));
    auto it = names.find(name);
    if (it == names.end())
        throw std::invalid_argument("unknown key name " + name);
    return it->second;
}

std::vector<int> keys(const std::string& text) {
    std::istringstream in(text);
    std::vector<int> codes;
    for (std::string name; in >> name;)
        codes.push_back(codeOf(name));
    return codes;
}

// Punctuation of the complete layer: QUERTY, US_INTERNATIONAL, GERMAN, AZERTY.
struct Row {
    char16_t c;
    const char* layouts[4];
};
const Row kPunctuation[] = {
    {u'!', {"SHIFT 1", "SHIFT 1", "SHIFT 1", "EXCLAMATION_MARK"}},
    {u'"', {"SHIFT QUOTE", "SHIFT DEAD_ACUTE SPACE", "SHIFT 2", "3"}},
    {u':', {"SHIFT SEMICOLON", "SHIFT SEMICOLON", "SHIFT PERIOD", "COLON"}},
    {u'#', {"SHIFT 3", "SHIFT 3", "NUMBER_SIGN", "CONTROL ALT 3"}},
    {u'$', {"SHIFT 4", "SHIFT 4", "SHIFT 4", "DOLLAR"}},
    {u'%', {"SHIFT 5", "SHIFT 5", "SHIFT 5", "ALT NUMPAD3 NUMPAD7"}},
    {u'&', {"SHIFT 7", "SHIFT 7", "SHIFT 6", "1"}},
    {u'\'', {"QUOTE", "DEAD_ACUTE SPACE", "SHIFT NUMBER_SIGN", "4"}},
    {u'(', {"SHIFT 9", "SHIFT 9", "SHIFT 8", "5"}},
    {u')', {"SHIFT 0", "SHIFT 0", "SHIFT 9", "RIGHT_PARENTHESIS"}},
    {u';', {"SEMICOLON", "SEMICOLON", "SHIFT COMMA", "SEMICOLON"}},
    {u'<', {"SHIFT COMMA", "SHIFT COMMA", "LESS", "LESS"}},
    {u'=', {"EQUALS", "EQUALS", "SHIFT 0", "EQUALS"}},
    {u'>', {"SHIFT PERIOD", "SHIFT PERIOD", "SHIFT LESS", "SHIFT LESS"}},
    {u'?', {"SHIFT SLASH", "SHIFT SLASH", "ALT NUMPAD6 NUMPAD3", "SHIFT COMMA"}},
    {u'@', {"SHIFT 2", "SHIFT 2", "CONTROL ALT Q", "CONTROL ALT 0"}},
    {u'[', {"OPEN_BRACKET", "OPEN_BRACKET", "CONTROL ALT 8", "CONTROL ALT 5"}},
    {u'\\', {"BACK_SLASH", "BACK_SLASH", "ALT NUMPAD9 NUMPAD2", "CONTROL ALT 8"}},
    {u']', {"CLOSE_BRACKET", "CLOSE_BRACKET", "CONTROL ALT 9", "CONTROL ALT RIGHT_PARENTHESIS"}},
    {u'^', {"SHIFT 6", "SHIFT 6 SPACE", "DEAD_CIRCUMFLEX SPACE", "DEAD_CIRCUMFLEX SPACE"}},
    {u'_', {"SHIFT MINUS", "SHIFT MINUS", "SHIFT MINUS", "8"}},
    {u'`', {"BACK_QUOTE", "DEAD_GRAVE SPACE", "SHIFT DEAD_ACUTE SPACE", "CONTROL ALT 7 SPACE"}},
    {u'{', {"SHIFT OPEN_BRACKET", "SHIFT OPEN_BRACKET", "CONTROL ALT 7", "CONTROL ALT 4"}},
    {u'|', {"SHIFT BACK_SLASH", "SHIFT BACK_SLASH", "CONTROL ALT LESS", "CONTROL ALT 6"}},
    {u'}', {"SHIFT CLOSE_BRACKET", "SHIFT CLOSE_BRACKET", "CONTROL ALT 0", "CONTROL ALT EQUALS"}},
    {u'~',
     {"SHIFT BACK_QUOTE", "SHIFT DEAD_GRAVE SPACE", "CONTROL ALT MAIN_ADD", "CONTROL ALT 2 SPACE"}},
};

int column(KeyboardType type) {
    switch (type) {
    case KeyboardType::QUERTY:
        return 0;
    case KeyboardType::US_INTERNATIONAL:
        return 1;
    case KeyboardType::GERMAN:
        return 2;
    default:
        return 3;
    }
}

// ALT and the keypad digits of the decimal code, as a key-name text.
std::string altCode(char16_t c) {
    std::string text = "ALT";
    for (char d : std::to_string(static_cast<int>(c)))
        text += std::string(" NUMPAD") + d;
    return text;
}

// The whole table each keyboard type and key-map type must give, written out by key names.
Keymap expectedKeymap(KeyboardType type, KeyMapType mapType) {
    const bool all = type == KeyboardType::ALL;
    const bool azerty = type == KeyboardType::AZERTY;
    std::map<char16_t, std::string> names;
    for (char d = '0'; d <= '9'; ++d)
        names[d] = azerty ? std::string("SHIFT ") + d : std::string(1, d);
    names[u'-'] = azerty ? "6" : "MINUS";
    names[u'+'] = "ADD";
    names[u','] = "COMMA";
    names[u'.'] = azerty ? "SHIFT SEMICOLON" : "PERIOD";
    if (mapType != KeyMapType::NUMERIC)
        for (char l = 'A'; l <= 'Z'; ++l)
            names[l] = std::string("SHIFT ") + l;
    if (mapType == KeyMapType::ALPHANUMERIC_COMPLETE) {
        for (char l = 'a'; l <= 'z'; ++l)
            names[l] = std::string(1, static_cast<char>(l - 'a' + 'A'));
        names[u'*'] = "MULTIPLY";
        names[u'/'] = "DIVIDE";
        names[u' '] = "SPACE";
        for (const Row& row : kPunctuation)
            names[row.c] = row.layouts[column(type)];
    }
    Keymap map;
    for (const auto& [c, text] : names)
        map[c] = keys(all ? altCode(c) : text);
    return map;
}

} // namespace

class KeymapTable
    : public ::testing::TestWithParam<std::tuple<KeyboardType::Value, KeyMapType::Value>> {};

TEST_P(KeymapTable, holdsExactlyTheCharactersOfItsLayersWithTheirKeys) {
    const KeyboardType type = std::get<0>(GetParam());
    const KeyMapType mapType = std::get<1>(GetParam());
    const Keymap actual = KeyboardType::getKeymap(type, mapType);
    const Keymap expected = expectedKeymap(type, mapType);
    const std::size_t size = mapType == KeyMapType::NUMERIC              ? 14
                             : mapType == KeyMapType::ALPHANUMERIC_BASIC ? 40
                                                                         : 95;
    EXPECT_EQ(actual.size(), size);
    for (const auto& [c, codes] : expected) {
        auto it = actual.find(c);
        ASSERT_NE(it, actual.end()) << "missing character " << static_cast<int>(c);
        EXPECT_EQ(it->second, codes) << "character " << static_cast<int>(c);
    }
    for (const auto& [c, codes] : actual)
        EXPECT_TRUE(expected.count(c)) << "unexpected character " << static_cast<int>(c);
}

INSTANTIATE_TEST_SUITE_P(
    AllLayouts, KeymapTable,
    ::testing::Combine(::testing::Values(KeyboardType::QUERTY, KeyboardType::US_INTERNATIONAL,
                                         KeyboardType::AZERTY, KeyboardType::GERMAN,
                                         KeyboardType::ALL),
                       ::testing::Values(KeyMapType::NUMERIC, KeyMapType::ALPHANUMERIC_BASIC,
                                         KeyMapType::ALPHANUMERIC_COMPLETE)),
    [](const auto& info) {
        return KeyboardType(std::get<0>(info.param)).name().toStdString() + "_" +
               KeyMapType(std::get<1>(info.param)).name().toStdString();
    });

TEST(Keymap, altCodesHaveNoLeadingZeros) {
    const Keymap all =
        KeyboardType::getKeymap(KeyboardType::ALL, KeyMapType::ALPHANUMERIC_COMPLETE);
    using namespace serwedge::config::KeyCodes;
    EXPECT_EQ(all.at(u'0'), (std::vector<int>{ALT, numpad(4), numpad(8)}));
    EXPECT_EQ(all.at(u'd'), (std::vector<int>{ALT, numpad(1), numpad(0), numpad(0)}));
    EXPECT_EQ(all.at(u' '), (std::vector<int>{ALT, numpad(3), numpad(2)}));
    EXPECT_EQ(all.at(u'~'), (std::vector<int>{ALT, numpad(1), numpad(2), numpad(6)}));
}

TEST(Keymap, eachCallGivesANewTable) {
    Keymap first = KeyboardType::getKeymap(KeyboardType::GERMAN, KeyMapType::NUMERIC);
    first.clear();
    EXPECT_EQ(KeyboardType::getKeymap(KeyboardType::GERMAN, KeyMapType::NUMERIC).size(), 14u);
}
