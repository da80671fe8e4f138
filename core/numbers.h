// Numbers as the system's conversions make them: text to number ("." decimal point, blanks
// around allowed), halves rounded to even, whole numbers that must fit their size, and
// single-precision values for the host's properties.
#pragma once

#include <cstdint>
#include <string>

#include "core/errors.h"

namespace plorin {

// A text converted to a number; raises errTypeMismatch when it is not a number ("&H"
// hexadecimal numbers are numbers too).
double toNumber(const std::string& text);

// Rounds halves to even, as the host's conversions do.
double roundHalfEven(double value);

// Raise errTypeMismatch for a text that is not a number and errOverflow when the rounded
// number does not fit 16 (32) bits.
std::int16_t toInteger16(const std::string& text);
std::int32_t toInteger32(const std::string& text);
// The same for a number: errOverflow when it is not finite or does not fit once rounded.
std::int16_t toInteger16(double value);

// A number stored into a single-precision host property: rounded to nearest, and errOverflow
// when it lies outside the single range or is not a number.
float toSingle(double value);

}  // namespace plorin
