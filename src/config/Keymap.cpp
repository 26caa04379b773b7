// The keyboard-layout tables: which keys type which character on each keyboard type.

#include "config/ConfigHelper.h"
#include "keys/KeyCodes.h"

#include <initializer_list>
#include <string>

namespace serwedge::config::ConfigHelper {

namespace {

using namespace KeyCodes;
using Keys = std::initializer_list<int>;

// ALT followed by the keypad digits of the character's decimal code, without leading zeros.
std::vector<int> altCode(char16_t c) {
    const std::string digits = std::to_string(static_cast<int>(c));
    std::vector<int> keys{ALT};
    for (char d : digits)
        keys.push_back(numpad(d - '0'));
    return keys;
}

// Adds a character unless an earlier layer already holds it.
void put(Keymap& map, char16_t c, std::vector<int> keys) {
    map.emplace(c, std::move(keys));
}

// One row of the punctuation table: the keys on QUERTY, US_INTERNATIONAL, GERMAN and AZERTY.
struct Punctuation {
    char16_t c;
    Keys querty, usInternational, german, azerty;
};

// clang-format off
const Punctuation kPunctuation[] = {
    {u'!',  {SHIFT, DIGIT_1},        {SHIFT, DIGIT_1},               {SHIFT, DIGIT_1},             {EXCLAMATION_MARK}},
    {u'"',  {SHIFT, QUOTE},          {SHIFT, DEAD_ACUTE, SPACE},     {SHIFT, DIGIT_2},             {DIGIT_3}},
    {u':',  {SHIFT, SEMICOLON},      {SHIFT, SEMICOLON},             {SHIFT, PERIOD},              {COLON}},
    {u'#',  {SHIFT, DIGIT_3},        {SHIFT, DIGIT_3},               {NUMBER_SIGN},                {CONTROL, ALT, DIGIT_3}},
    {u'$',  {SHIFT, DIGIT_4},        {SHIFT, DIGIT_4},               {SHIFT, DIGIT_4},             {DOLLAR}},
    {u'%',  {SHIFT, DIGIT_5},        {SHIFT, DIGIT_5},               {SHIFT, DIGIT_5},             {ALT, NUMPAD0 + 3, NUMPAD0 + 7}},
    {u'&',  {SHIFT, DIGIT_7},        {SHIFT, DIGIT_7},               {SHIFT, DIGIT_6},             {DIGIT_1}},
    {u'\'', {QUOTE},                 {DEAD_ACUTE, SPACE},            {SHIFT, NUMBER_SIGN},         {DIGIT_4}},
    {u'(',  {SHIFT, DIGIT_9},        {SHIFT, DIGIT_9},               {SHIFT, DIGIT_8},             {DIGIT_5}},
    {u')',  {SHIFT, DIGIT_0},        {SHIFT, DIGIT_0},               {SHIFT, DIGIT_9},             {RIGHT_PARENTHESIS}},
    {u';',  {SEMICOLON},             {SEMICOLON},                    {SHIFT, COMMA},               {SEMICOLON}},
    {u'<',  {SHIFT, COMMA},          {SHIFT, COMMA},                 {LESS},                       {LESS}},
    {u'=',  {EQUALS},                {EQUALS},                       {SHIFT, DIGIT_0},             {EQUALS}},
    {u'>',  {SHIFT, PERIOD},         {SHIFT, PERIOD},                {SHIFT, LESS},                {SHIFT, LESS}},
    {u'?',  {SHIFT, SLASH},          {SHIFT, SLASH},                 {ALT, NUMPAD0 + 6, NUMPAD0 + 3}, {SHIFT, COMMA}},
    {u'@',  {SHIFT, DIGIT_2},        {SHIFT, DIGIT_2},               {CONTROL, ALT, Q},            {CONTROL, ALT, DIGIT_0}},
    {u'[',  {OPEN_BRACKET},          {OPEN_BRACKET},                 {CONTROL, ALT, DIGIT_8},      {CONTROL, ALT, DIGIT_5}},
    {u'\\', {BACK_SLASH},            {BACK_SLASH},                   {ALT, NUMPAD0 + 9, NUMPAD0 + 2}, {CONTROL, ALT, DIGIT_8}},
    {u']',  {CLOSE_BRACKET},         {CLOSE_BRACKET},                {CONTROL, ALT, DIGIT_9},      {CONTROL, ALT, RIGHT_PARENTHESIS}},
    {u'^',  {SHIFT, DIGIT_6},        {SHIFT, DIGIT_6, SPACE},        {DEAD_CIRCUMFLEX, SPACE},     {DEAD_CIRCUMFLEX, SPACE}},
    {u'_',  {SHIFT, MINUS},          {SHIFT, MINUS},                 {SHIFT, MINUS},               {DIGIT_8}},
    {u'`',  {BACK_QUOTE},            {DEAD_GRAVE, SPACE},            {SHIFT, DEAD_ACUTE, SPACE},   {CONTROL, ALT, DIGIT_7, SPACE}},
    {u'{',  {SHIFT, OPEN_BRACKET},   {SHIFT, OPEN_BRACKET},          {CONTROL, ALT, DIGIT_7},      {CONTROL, ALT, DIGIT_4}},
    {u'|',  {SHIFT, BACK_SLASH},     {SHIFT, BACK_SLASH},            {CONTROL, ALT, LESS},         {CONTROL, ALT, DIGIT_6}},
    {u'}',  {SHIFT, CLOSE_BRACKET},  {SHIFT, CLOSE_BRACKET},         {CONTROL, ALT, DIGIT_0},      {CONTROL, ALT, EQUALS}},
    {u'~',  {SHIFT, BACK_QUOTE},     {SHIFT, DEAD_GRAVE, SPACE},     {CONTROL, ALT, MAIN_ADD},     {CONTROL, ALT, DIGIT_2, SPACE}},
};
// clang-format on

Keys punctuationKeys(const Punctuation& row, KeyboardType type) {
    switch (type) {
    case KeyboardType::QUERTY:
        return row.querty;
    case KeyboardType::US_INTERNATIONAL:
        return row.usInternational;
    case KeyboardType::GERMAN:
        return row.german;
    case KeyboardType::AZERTY:
        return row.azerty;
    case KeyboardType::ALL:
        break;
    }
    return {};
}

void numericLayer(Keymap& map, KeyboardType type) {
    if (type == KeyboardType::ALL) {
        for (char16_t c : u"0123456789-+,.")
            if (c != 0)
                put(map, c, altCode(c));
        return;
    }
    const bool azerty = type == KeyboardType::AZERTY;
    for (int n = 0; n <= 9; ++n) {
        const auto c = static_cast<char16_t>(u'0' + n);
        if (azerty)
            put(map, c, {SHIFT, digit(n)});
        else
            put(map, c, {digit(n)});
    }
    put(map, u'-', azerty ? std::vector<int>{DIGIT_6} : std::vector<int>{MINUS});
    put(map, u'+', {ADD});
    put(map, u',', {COMMA});
    put(map, u'.', azerty ? std::vector<int>{SHIFT, SEMICOLON} : std::vector<int>{PERIOD});
}

void basicLayer(Keymap& map, KeyboardType type) {
    for (char c = 'A'; c <= 'Z'; ++c) {
        const auto ch = static_cast<char16_t>(c);
        if (type == KeyboardType::ALL)
            put(map, ch, altCode(ch));
        else
            put(map, ch, {SHIFT, letter(c)});
    }
}

void completeLayer(Keymap& map, KeyboardType type) {
    const bool all = type == KeyboardType::ALL;
    for (char c = 'a'; c <= 'z'; ++c) {
        const auto ch = static_cast<char16_t>(c);
        if (all)
            put(map, ch, altCode(ch));
        else
            put(map, ch, {letter(static_cast<char>(c - 'a' + 'A'))});
    }
    put(map, u'*', all ? altCode(u'*') : std::vector<int>{MULTIPLY});
    put(map, u'/', all ? altCode(u'/') : std::vector<int>{DIVIDE});
    put(map, u' ', all ? altCode(u' ') : std::vector<int>{SPACE});
    for (const Punctuation& row : kPunctuation) {
        if (all)
            put(map, row.c, altCode(row.c));
        else
            put(map, row.c, std::vector<int>(punctuationKeys(row, type)));
    }
}

} // namespace

Keymap KeyboardType::getKeymap(KeyboardType keyboardType, KeyMapType keyMapType) {
    Keymap map;
    numericLayer(map, keyboardType);
    if (keyMapType == KeyMapType::ALPHANUMERIC_BASIC ||
        keyMapType == KeyMapType::ALPHANUMERIC_COMPLETE)
        basicLayer(map, keyboardType);
    if (keyMapType == KeyMapType::ALPHANUMERIC_COMPLETE)
        completeLayer(map, keyboardType);
    return map;
}

} // namespace serwedge::config::ConfigHelper
