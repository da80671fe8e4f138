#include "updater/dates.h"

#include <chrono>

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

// The platform's local time, so that a day fixed there (the simulator's) holds here too.
double systemNow() {
    using namespace std::chrono;
    const local_seconds now = platform::localNow();
    const local_days day = floor<days>(now);
    const year_month_day date(day);
    return static_cast<double>(dateSerial(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                                          static_cast<int>(static_cast<unsigned>(date.day())))) +
           duration<double>(now - day).count() / 86400.0;
}

std::function<double()>& clockSlot() {
    static std::function<double()> clock = systemNow;
    return clock;
}

}  // namespace

long dateSerial(int year, int month, int day) { return daysFromCivil(year, month, day) + kEpochSerial; }

long farFutureSerial() { return dateSerial(2099, 12, 31); }

double nowSerial() { return clockSlot()(); }

std::function<double()> setClock(std::function<double()> clock) {
    auto old = clockSlot();
    clockSlot() = clock ? std::move(clock) : std::function<double()>(systemNow);
    return old;
}

}  // namespace plorinrenew
