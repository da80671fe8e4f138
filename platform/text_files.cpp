#include "platform/text_files.h"

namespace platform {

namespace {

std::optional<std::string> fromUtf16(std::string_view bytes, bool bigEndian) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (char32_t(a) << 8 | b) : (char32_t(b) << 8 | a);
    };
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xDC00 && c <= 0xDFFF) return std::nullopt;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 2 >= bytes.size()) return std::nullopt;
            const char32_t low = unit(i + 2);
            if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        appendUtf8(out, c);
    }
    return out;
}

}  // namespace

bool isValidUtf8(std::string_view s) noexcept {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        char32_t value, least;
        if (c >= 0xC2 && c <= 0xDF) length = 2, value = c & 0x1F, least = 0x80;
        else if (c >= 0xE0 && c <= 0xEF) length = 3, value = c & 0x0F, least = 0x800;
        else if (c >= 0xF0 && c <= 0xF4) length = 4, value = c & 0x07, least = 0x10000;
        else return false;
        if (i + length > s.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(s[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            value = (value << 6) | (next & 0x3F);
        }
        if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

std::optional<std::string> decodeTextFile(std::string_view bytes) {
    std::optional<std::string> text;
    if (bytes.starts_with("\xFF\xFE")) text = fromUtf16(bytes.substr(2), false);
    else if (bytes.starts_with("\xFE\xFF")) text = fromUtf16(bytes.substr(2), true);
    else {
        if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
        if (isValidUtf8(bytes)) text = std::string(bytes);
    }
    // No text file holds a NUL: it is UTF-16 without its mark, or no text at all.
    if (text && text->find('\0') != std::string::npos) return std::nullopt;
    return text;
}

}  // namespace platform
