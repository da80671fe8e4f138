#include "core/whole_numbers.h"

#include <cmath>
#include <limits>

#include "core/errors.h"
#include "core/globals.h"

namespace plorin {

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

}  // namespace plorin
