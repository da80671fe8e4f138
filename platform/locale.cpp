#include "platform/locale.h"

#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
std::atomic<char> separator{'.'};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

char decimalSeparator() { return separator.load(); }

char setDecimalSeparator(char s) { return s == '.' || s == ',' ? separator.exchange(s) : separator.load(); }

std::optional<double> readUserNumber(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    std::string plain;
    std::size_t i = b;
    if (i < e && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    int digits = 0;
    bool mark = false;
    for (; i < e; ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            plain += c;
            ++digits;
        } else if ((c == '.' || c == decimalSeparator()) && !mark) {
            plain += '.';
            mark = true;
        } else {
            break;
        }
    }
    if (digits == 0) return std::nullopt;
    if (i < e && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < e && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        int exponentDigits = 0;
        for (; i < e && isDigit(text[i]); ++i, ++exponentDigits) plain += text[i];
        if (exponentDigits == 0) return std::nullopt;
    }
    if (i != e) return std::nullopt;
    return std::strtod(plain.c_str(), nullptr);
}

std::string formatUserNumber(double value, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
    std::string text = buffer;
    for (char& c : text)
        if (c == '.') c = decimalSeparator();
    return text;
}

}  // namespace platform
