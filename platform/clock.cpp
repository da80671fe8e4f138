#include "platform/clock.h"

#include <utility>
#include <ctime>
#include <mutex>

namespace platform {
namespace {

std::mutex mutex;
std::optional<std::chrono::sys_days> fixedDay;
LocalClock installedClock;

std::chrono::local_seconds systemNow() {
    const std::time_t now = std::time(nullptr);
    struct tm local {};
    ::localtime_r(&now, &local);
    const std::chrono::local_days day(std::chrono::year(local.tm_year + 1900) /
                                      std::chrono::month(static_cast<unsigned>(local.tm_mon + 1)) /
                                      std::chrono::day(static_cast<unsigned>(local.tm_mday)));
    return day + std::chrono::hours(local.tm_hour) + std::chrono::minutes(local.tm_min) +
           std::chrono::seconds(local.tm_sec);
}

}  // namespace

std::chrono::sys_days today() {
    {
        std::lock_guard lock(mutex);
        if (fixedDay) return *fixedDay;
    }
    return std::chrono::sys_days(std::chrono::floor<std::chrono::days>(localNow()).time_since_epoch());
}

std::optional<std::chrono::sys_days> useToday(std::optional<std::chrono::sys_days> day) {
    std::lock_guard lock(mutex);
    return std::exchange(fixedDay, day);
}

std::chrono::local_seconds localNow() {
    LocalClock clock;
    {
        std::lock_guard lock(mutex);
        clock = installedClock;  // a copy: the clock runs outside the lock
    }
    return clock ? clock() : systemNow();
}

LocalClock useClock(LocalClock clock) {
    std::lock_guard lock(mutex);
    return std::exchange(installedClock, std::move(clock));
}

}  // namespace platform
