#pragma once

// A reader and a writer of the standard properties-file format, written for the tests from the
// format's documented rules and kept apart from the program's own code:
// - lines end with LF, CR or CR LF; a line whose first non-blank character is # or ! is a
//   comment; blank lines are skipped; blanks are space, tab and form feed;
// - a line ending in an odd number of backslashes continues on the next line, whose leading
//   blanks are dropped;
// - the key runs to the first unescaped =, : or blank; blanks, then one = or :, then blanks
//   follow; the rest of the line is the value;
// - escapes: \t \n \r \f, \uXXXX, and a backslash before any other character stands for it.
// The writer escapes like the standard one but makes other allowed choices: CR LF line ends,
// lower-case hexadecimal digits, ": " as separator.

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>

namespace reference {

inline std::u16string fromLatin1(const std::string& bytes) {
    std::u16string s;
    for (unsigned char c : bytes) {
        s += static_cast<char16_t>(c);
    }
    return s;
}

inline bool blank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\f';
}

inline std::map<std::u16string, std::u16string> read(const std::string& bytes) {
    const std::u16string text = fromLatin1(bytes);
    std::map<std::u16string, std::u16string> out;
    std::size_t pos = 0;
    auto nextLine = [&](std::u16string& line) {
        if (pos >= text.size()) {
            return false;
        }
        std::size_t end = pos;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r') {
            ++end;
        }
        line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size() && text[pos] == u'\r') {
            ++pos;
            if (pos < text.size() && text[pos] == u'\n') {
                ++pos;
            }
        } else if (pos < text.size()) {
            ++pos;
        }
        return true;
    };
    std::u16string line;
    while (nextLine(line)) {
        std::size_t i = 0;
        while (i < line.size() && blank(line[i])) {
            ++i;
        }
        if (i == line.size() || line[i] == u'#' || line[i] == u'!') {
            continue;
        }
        std::u16string logical = line.substr(i);
        auto continues = [](const std::u16string& l) {
            std::size_t n = 0;
            while (n < l.size() && l[l.size() - 1 - n] == u'\\') {
                ++n;
            }
            return n % 2 == 1;
        };
        while (continues(logical)) {
            logical.pop_back();
            std::u16string more;
            if (!nextLine(more)) {
                break;
            }
            std::size_t j = 0;
            while (j < more.size() && blank(more[j])) {
                ++j;
            }
            logical += more.substr(j);
        }
        std::size_t k = 0;
        while (k < logical.size()) {
            const char16_t c = logical[k];
            if (c == u'\\') {
                k += 2;
                continue;
            }
            if (c == u'=' || c == u':' || blank(c)) {
                break;
            }
            ++k;
        }
        const std::size_t keyEnd = std::min(k, logical.size());
        std::size_t v = keyEnd;
        while (v < logical.size() && blank(logical[v])) {
            ++v;
        }
        if (v < logical.size() && (logical[v] == u'=' || logical[v] == u':')) {
            ++v;
        }
        while (v < logical.size() && blank(logical[v])) {
            ++v;
        }
        auto unescape = [](const std::u16string& s) {
            std::u16string r;
            for (std::size_t a = 0; a < s.size(); ++a) {
                if (s[a] != u'\\' || a + 1 == s.size()) {
                    r += s[a];
                    continue;
                }
                const char16_t e = s[++a];
                if (e == u't') {
                    r += u'\t';
                } else if (e == u'n') {
                    r += u'\n';
                } else if (e == u'r') {
                    r += u'\r';
                } else if (e == u'f') {
                    r += u'\f';
                } else if (e == u'u') {
                    if (a + 4 >= s.size()) {
                        throw std::runtime_error("short \\u escape");
                    }
                    r += static_cast<char16_t>(
                        std::stoi(std::string(s.begin() + static_cast<long>(a) + 1,
                                              s.begin() + static_cast<long>(a) + 5),
                                  nullptr, 16));
                    a += 4;
                } else {
                    r += e;
                }
            }
            return r;
        };
        out[unescape(logical.substr(0, keyEnd))] = unescape(logical.substr(v));
    }
    return out;
}

inline std::string escape(const std::u16string& s, bool key) {
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        switch (c) {
        case u'\\':
            out += "\\\\";
            break;
        case u'\t':
            out += "\\t";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\f':
            out += "\\f";
            break;
        case u'=':
        case u':':
        case u'#':
        case u'!':
            out += '\\';
            out += static_cast<char>(c);
            break;
        case u' ':
            out += (key || i == 0) ? "\\ " : " ";
            break;
        default:
            if (c < 0x20 || c > 0x7e) {
                out += "\\u";
                for (int shift = 12; shift >= 0; shift -= 4) {
                    out += hex[(c >> shift) & 0xF];
                }
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out;
}

inline std::string write(const std::map<std::u16string, std::u16string>& entries) {
    std::string out = "#written by the reference writer\r\n#Thu Jan 01 00:00:00 UTC 1970\r\n";
    for (const auto& [k, v] : entries) {
        out += escape(k, true) + ": " + escape(v, false) + "\r\n";
    }
    return out;
}

} // namespace reference
