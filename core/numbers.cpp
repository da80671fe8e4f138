#include "core/numbers.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale>
#include <optional>
#include <sstream>
#include <string_view>

namespace plorin {

namespace {

// A whole number of up to 15 digits with an optional "-": the text of nearly every number
// read (control ids, tags, counters). Read exactly without a stream; nothing for others.
std::optional<double> plainWholeNumber(std::string_view t) {
    const bool negative = !t.empty() && t.front() == '-';
    if (negative) t.remove_prefix(1);
    if (t.empty() || t.size() > 15) return std::nullopt;
    double v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return negative ? -v : v;
}

}  // namespace

double toNumber(const std::string& text) {
    std::size_t b = text.find_first_not_of(" \t");
    std::size_t e = text.find_last_not_of(" \t");
    if (b == std::string::npos) raiseError(errTypeMismatch, "Type mismatch");
    if (auto plain = plainWholeNumber(std::string_view(text).substr(b, e - b + 1))) return *plain;
    std::string t = text.substr(b, e - b + 1);
    std::istringstream in(t);
    in.imbue(std::locale::classic());
    double v = 0;
    in >> v;
    if (in.fail() || !in.eof()) {
        // "&H" hexadecimal numbers are numbers too.
        if (t.size() > 2 && (t[0] == '&') && (t[1] == 'H' || t[1] == 'h')) {
            char* end = nullptr;
            long h = std::strtol(t.c_str() + 2, &end, 16);
            if (end && *end == '\0') return static_cast<double>(h);
        }
        raiseError(errTypeMismatch, "Type mismatch");
    }
    return v;
}

double roundHalfEven(double value) {
    // nearbyint follows the current rounding mode, which is to-nearest-even by default.
    return std::nearbyint(value);
}

namespace {
template <class T>
T toWhole(double value) {
    const double rounded = roundHalfEven(value);
    if (!std::isfinite(rounded) || rounded < static_cast<double>(std::numeric_limits<T>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<T>::max()))
        raiseError(errOverflow, "Overflow");
    return static_cast<T>(rounded);
}
}  // namespace

std::int16_t toInteger16(const std::string& text) { return toWhole<std::int16_t>(toNumber(text)); }
std::int32_t toInteger32(const std::string& text) { return toWhole<std::int32_t>(toNumber(text)); }
std::int16_t toInteger16(double value) { return toWhole<std::int16_t>(value); }

float toSingle(double value) {
    // Checked before converting: a double beyond the float range has no defined conversion.
    if (!(std::fabs(value) <= static_cast<double>(FLT_MAX))) raiseError(errOverflow, "Overflow");
    return static_cast<float>(value);
}

}  // namespace plorin
