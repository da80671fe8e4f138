#include "survey/survey.h"

#include <cstdio>

#include "core/config.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "core/registry.h"
#include "core/web_post.h"
#include "platform/clock.h"
#include "platform/text.h"

namespace plorin {
namespace {

// Puts the HTTP time-outs back however the call in between ends.
class ScopedHttpTimeouts {
public:
    explicit ScopedHttpTimeouts(HttpTimeouts timeouts) : previous_(setHttpTimeouts(timeouts)) {}
    ScopedHttpTimeouts(const ScopedHttpTimeouts&) = delete;
    ScopedHttpTimeouts& operator=(const ScopedHttpTimeouts&) = delete;
    ~ScopedHttpTimeouts() { setHttpTimeouts(previous_); }

private:
    HttpTimeouts previous_;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digits(const std::string& text, std::size_t from, std::size_t count) {
    int n = 0;
    for (std::size_t i = from; i < from + count; ++i) n = n * 10 + (text[i] - '0');
    return n;
}

}  // namespace

std::int16_t surveyNumber(const char* name, std::int16_t defaultValue) {
    try {
        const std::string text = getRegistry(name, "", std::to_string(defaultValue));
        if (platform::trimmed(text).empty()) return defaultValue;
        return toInteger16(text);
    } catch (...) {
        return defaultValue;
    }
}

std::string surveyReplyText(const std::string& body) { return std::string(platform::trimmed(body, " \t\r\n")); }

std::string surveyUrl() { return webAddress() + "/survey.php"; }

std::optional<std::chrono::sys_days> surveyDateFromText(const std::string& text) {
    if (text.size() < 10) return std::nullopt;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!isDigit(text[i])) return std::nullopt;
    const std::chrono::year_month_day day{std::chrono::year(digits(text, 0, 4)),
                                          std::chrono::month(static_cast<unsigned>(digits(text, 5, 2))),
                                          std::chrono::day(static_cast<unsigned>(digits(text, 8, 2)))};
    if (!day.ok()) return std::nullopt;
    return std::chrono::sys_days(day);
}

std::string surveyDateText(std::chrono::sys_days day) {
    const std::chrono::year_month_day ymd(day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                  static_cast<unsigned>(ymd.day()));
    return text;
}

bool surveyDue() {
    const std::int16_t count = surveyNumber("surveyCount", 0);
    const std::int16_t maxCount = surveyNumber("surveyMaxCount", 0);
    const std::int16_t interval = surveyNumber("surveyInterval", 183);
    std::string dateText = getRegistry("surveyDate", "", "");
    if (platform::trimmed(dateText).empty()) {
        // Written once: a default worked out afresh at every start would never come due.
        dateText = surveyDateText(platform::today() + std::chrono::days(interval));
        setRegistry("surveyDate", dateText, "");
    }
    if (count >= maxCount) return false;
    const auto date = surveyDateFromText(dateText);
    return date && platform::today() >= *date;
}

bool connectionOK() {
    bool ok = false;
    trap("Survey, connectionOK", [&] {
        // The ping runs inside the host's start-up: an absent server may cost it only moments.
        const ScopedHttpTimeouts timeouts({kPingTimeoutMs, kPingTimeoutMs});
        ok = surveyReplyText(ByteArrayToString(HttpPost(surveyUrl(), "&ping=1", 0, 80, "", ""))) == "ping";
    });
    return ok;
}

void setSurveyDate(std::int16_t choice) {
    const auto later = [](int days) { return surveyDateText(platform::today() + std::chrono::days(days)); };
    switch (choice) {
        case 0: setRegistry("surveyDate", later(1), ""); break;
        case 1: setRegistry("surveyDate", later(14), ""); break;
        case 2: setRegistry("surveyDate", later(183), ""); break;
        case 3: setRegistry("surveyDate", "2099-12-31", ""); break;
        default: break;
    }
}

}  // namespace plorin
