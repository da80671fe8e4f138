#include "platform/clock.h"

#include <ctime>
#include <mutex>
#include <utility>

namespace platform {
namespace {

std::mutex mutex;
std::optional<std::chrono::sys_days> fixedDay;
LocalClock installedClock;

}  // namespace

std::chrono::local_seconds localNow() {
    using namespace std::chrono;
    LocalClock clock;
    std::optional<sys_days> fixed;
    {
        std::lock_guard lock(mutex);
        clock = installedClock;  // a copy: it runs outside the lock
        fixed = fixedDay;
    }
    if (clock) return clock();
    if (fixed) return local_seconds(fixed->time_since_epoch()) + hours(9);
    const std::time_t now = std::time(nullptr);
    struct tm local {};
    ::localtime_r(&now, &local);
    const local_days date(year(local.tm_year + 1900) / month(static_cast<unsigned>(local.tm_mon + 1)) /
                          day(static_cast<unsigned>(local.tm_mday)));
    return date + hours(local.tm_hour) + minutes(local.tm_min) + seconds(local.tm_sec);
}

std::string localNowText(const char* format) {
    using namespace std::chrono;
    const local_seconds now = localNow();
    const local_days date = floor<days>(now);
    const year_month_day ymd(date);
    const hh_mm_ss time(now - date);
    struct tm fields {};
    fields.tm_year = static_cast<int>(ymd.year()) - 1900;
    fields.tm_mon = static_cast<int>(static_cast<unsigned>(ymd.month())) - 1;
    fields.tm_mday = static_cast<int>(static_cast<unsigned>(ymd.day()));
    fields.tm_hour = static_cast<int>(time.hours().count());
    fields.tm_min = static_cast<int>(time.minutes().count());
    fields.tm_sec = static_cast<int>(time.seconds().count());
    fields.tm_wday = static_cast<int>(weekday(date).c_encoding());
    fields.tm_yday = static_cast<int>((date - local_days(ymd.year() / January / 1)).count());
    char text[64];
    return std::strftime(text, sizeof text, format, &fields) ? text : "";
}

std::chrono::sys_days today() {
    return std::chrono::sys_days(std::chrono::floor<std::chrono::days>(localNow()).time_since_epoch());
}

std::optional<std::chrono::sys_days> useToday(std::optional<std::chrono::sys_days> day) {
    std::lock_guard lock(mutex);
    return std::exchange(fixedDay, day);
}

LocalClock useClock(LocalClock clock) {
    std::lock_guard lock(mutex);
    return std::exchange(installedClock, std::move(clock));
}

}  // namespace platform
