// The calendar: which day and time it is where the user sits. Code that schedules by the date
// (the survey, the update reminder) or names things by the time asks here, so that tests and
// the simulator can name the day.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace platform {

// Today's local date: the day of localNow().
std::chrono::sys_days today();

// The local date and time to the second: what an installed clock answers; else, on a day
// fixed with useToday, that day at 09:00:00, the same in every run; else the system's.
std::chrono::local_seconds localNow();
// localNow() written with a strftime format ("%Y-%m-%d %H:%M:%S"); empty when it does not fit.
std::string localNowText(const char* format);

// Fixes the day that today() and localNow() answer (nothing: the system's) and returns the
// day fixed before.
std::optional<std::chrono::sys_days> useToday(std::optional<std::chrono::sys_days> day);

// Installs a clock (empty: none) and returns the one installed before.
using LocalClock = std::function<std::chrono::local_seconds()>;
LocalClock useClock(LocalClock clock);

}  // namespace platform
