// New GUIDs as text (the agenda's ids), and the hexadecimal digits they are written in.
#pragma once

#include <cstdint>
#include <string>

namespace plorin {

// A new GUID as 8-4-4-4-12 upper-case hexadecimal digits; the empty text when none.
std::string getGUID();

// Upper-case hexadecimal, left-padded with "0" to the width; negative values in their
// two's-complement form of the argument's size.
std::string padHex(std::int32_t number, int width);
std::string padHex(std::int16_t number, int width);

}  // namespace plorin
