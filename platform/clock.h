// The calendar: which day it is where the user sits. Code that schedules by the date (the
// survey) asks here, so that tests and the simulator can name the day.
#pragma once

#include <chrono>
#include <optional>

namespace platform {

// Today's local date (the system's time zone), or the day fixed with useToday.
std::chrono::sys_days today();

// Fixes the day that today() answers; nothing goes back to the system's clock.
void useToday(std::optional<std::chrono::sys_days> day);

}  // namespace platform
