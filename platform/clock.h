// The calendar: which day and time it is where the user sits. Code that schedules by the date
// (the survey, the update reminder) or names things by the time asks here, so that tests and
// the simulator can name the day.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace platform {

// Today's local date (the system's time zone), or the day fixed with useToday.
std::chrono::sys_days today();

// The local date and time to the second; on a day fixed with useToday, that day at 09:00:00,
// the same in every run.
std::chrono::local_seconds localNow();
// localNow() written with a strftime format ("%Y-%m-%d %H:%M:%S"); empty when it does not fit.
std::string localNowText(const char* format);

// Fixes the day that today() and localNow() answer; nothing goes back to the system's clock.
void useToday(std::optional<std::chrono::sys_days> day);

}  // namespace platform
