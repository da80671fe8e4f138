#include "platform/clock.h"

#include <ctime>
#include <mutex>

namespace platform {
namespace {

std::mutex mutex;
std::optional<std::chrono::sys_days> fixedDay;

}  // namespace

std::chrono::sys_days today() {
    {
        std::lock_guard lock(mutex);
        if (fixedDay) return *fixedDay;
    }
    const std::time_t now = std::time(nullptr);
    struct tm local {};
    ::localtime_r(&now, &local);
    return std::chrono::sys_days(std::chrono::year(local.tm_year + 1900) /
                                 std::chrono::month(static_cast<unsigned>(local.tm_mon + 1)) /
                                 std::chrono::day(static_cast<unsigned>(local.tm_mday)));
}

void useToday(std::optional<std::chrono::sys_days> day) {
    std::lock_guard lock(mutex);
    fixedDay = day;
}

}  // namespace platform
