// Date serials as the update settings store them: days since 30 December 1899 in local
// time, the time of day as the fraction.
#pragma once

#include <chrono>

namespace plorinrenew {

// The current local date and time (platform::localNow) as a serial.
double nowSerial();
// The serial of a calendar day at midnight.
long dateSerial(int year, int month, int day);
// The serial a reminder holds that never comes due in practice: 31 December 2099.
long farFutureSerial();

// The local time a serial stands for, to the second (what a clock answers for it).
std::chrono::local_seconds localTimeOfSerial(double serial);

}  // namespace plorinrenew
