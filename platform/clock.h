// The calendar: which day it is where the user sits. Code that schedules by the date (the
// survey) asks here, so that tests and the simulator can name the day.
#pragma once

#include <chrono>
#include <functional>
#include <optional>

namespace platform {

// Today's local date: the day fixed with useToday, else the clock's day.
std::chrono::sys_days today();

// Fixes the day that today() answers; nothing goes back to the clock. Returns the day fixed before.
std::optional<std::chrono::sys_days> useToday(std::optional<std::chrono::sys_days> day);

// The local date and time now (the system's time zone), or what the installed clock answers.
using LocalClock = std::function<std::chrono::local_seconds()>;
std::chrono::local_seconds localNow();
// Installs a clock (empty: the system's) and returns the one installed before.
LocalClock useClock(LocalClock clock);

}  // namespace platform
