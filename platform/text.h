// Text helpers every layer needs: case-insensitive comparison of ASCII names (the host's,
// the registry's and HTTP's rule, independent of the locale), trimming, and dropping the
// characters XML cannot carry.
#pragma once

#include <string>
#include <string_view>

namespace platform {

inline char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
inline char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string asciiUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = asciiUpper(c);
    return out;
}

inline std::string asciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = asciiLower(c);
    return out;
}

inline bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiUpper(a[i]) != asciiUpper(b[i])) return false;
    return true;
}

// The text without the given characters at either end.
inline std::string_view trimmed(std::string_view s, std::string_view blanks = " \t") {
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// The text (UTF-8) without the characters an XML 1.0 document cannot carry, not even as
// references: control characters other than tab, line feed and carriage return, DEL, and
// U+FFFE and U+FFFF (a byte-order mark read the wrong way round).
inline std::string withoutNonXmlCharacters(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7f) continue;
        if (c == 0xEF && i + 2 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0xBF &&
            (static_cast<unsigned char>(s[i + 2]) == 0xBE || static_cast<unsigned char>(s[i + 2]) == 0xBF)) {
            i += 2;
            continue;
        }
        out += s[i];
    }
    return out;
}

}  // namespace platform
