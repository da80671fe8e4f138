#include "updater/dates.h"

#include <cmath>

#include "platform/clock.h"

namespace plorinrenew {
namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
long daysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr long kEpochSerial = 25569;  // 1970-01-01 as a serial

constexpr long kSecondsPerDay = 86400;

}  // namespace

long dateSerial(int year, int month, int day) { return daysFromCivil(year, month, day) + kEpochSerial; }

long farFutureSerial() { return dateSerial(2099, 12, 31); }

double nowSerial() {
    const long long seconds = platform::localNow().time_since_epoch().count();
    const long long days =
        seconds >= 0 ? seconds / kSecondsPerDay : -((-seconds + kSecondsPerDay - 1) / kSecondsPerDay);
    return static_cast<double>(days + kEpochSerial) +
           static_cast<double>(seconds - days * kSecondsPerDay) / kSecondsPerDay;
}

std::chrono::local_seconds localTimeOfSerial(double serial) {
    return std::chrono::local_seconds(std::chrono::seconds(std::llround((serial - kEpochSerial) * kSecondsPerDay)));
}

}  // namespace plorinrenew
