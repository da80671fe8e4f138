// Text files people edit by hand (lists, registrations): editors save them as UTF-8 with or
// without a byte-order mark, or as UTF-16 with one. They are read into UTF-8, the
// platform's text; anything else is refused rather than shown as broken characters.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Appends the character (a Unicode scalar value) in UTF-8.
inline void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing
// above U+10FFFF).
bool isValidUtf8(std::string_view bytes) noexcept;

// The file's text in UTF-8 without a byte-order mark: UTF-8 (with or without the mark) as
// it stands, UTF-16 little or big endian with its mark converted. Nothing for bytes that
// are none of these (UTF-16 without a mark, a lone surrogate, another code page) or that
// hold a NUL character.
std::optional<std::string> decodeTextFile(std::string_view bytes);

}  // namespace platform
