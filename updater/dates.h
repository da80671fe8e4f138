// Date serials as the update settings store them: days since 30 December 1899 in local
// time, the time of day as the fraction.
#pragma once

#include <functional>

namespace plorinrenew {

// The current local date and time as a serial.
double nowSerial();
// The serial of a calendar day at midnight.
long dateSerial(int year, int month, int day);
// The serial a reminder holds that never comes due in practice: 31 December 2099.
long farFutureSerial();

// Replaces the clock behind nowSerial (tests); an empty function restores the system's.
// Returns the clock it replaced.
std::function<double()> setClock(std::function<double()> clock);

}  // namespace plorinrenew
