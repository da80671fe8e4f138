// Whole numbers from text, as the system's integer conversions make them: the text must be a
// number ("." decimal point, blanks around allowed), halves round to even, and the result
// must fit the integer's size.
#pragma once

#include <cstdint>
#include <string>

#include "core/errors.h"

namespace plorin {

// Raise errTypeMismatch for a text that is not a number and errOverflow when the rounded
// number does not fit 16 (32) bits.
std::int16_t toInteger16(const std::string& text);
std::int32_t toInteger32(const std::string& text);
// The same for a number: errOverflow when it is not finite or does not fit once rounded.
std::int16_t toInteger16(double value);

}  // namespace plorin
