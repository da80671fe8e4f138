// The occasional two-page user survey's schedule and server: whether it is due (the count
// below its maximum, the date passed), the short ping, the dates. The pages
// (survey/survey_pages.h) keep the schedule in the settings "surveyCount", "surveyMaxCount",
// "surveyInterval" and "surveyDate"; `checkForSurvey` (addin/survey_start.h), the last step of
// the add-in's start-up, shows them. Nothing here may hold up or break a start: every failure
// is reported or ends the survey quietly.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace plorin {

// How long the start-up ping may take at most, in milliseconds, connection included.
constexpr long kPingTimeoutMs = 3000;
// How long sending the survey may keep the host waiting, connection included.
constexpr long kSendTimeoutMs = 10000;

// A whole-number survey setting ("surveyCount", "surveyMaxCount", "surveyInterval"): an
// empty, non-numeric or out-of-range value gives the default instead of stopping the start.
std::int16_t surveyNumber(const char* name, std::int16_t defaultValue);

// The server's reply as the survey reads it: blanks and line ends around it dropped.
std::string surveyReplyText(const std::string& body);

// True when the count is below the maximum and the date has come. A missing "surveyDate" is
// written once as today plus the interval; a malformed one means "not due". Raises when a
// setting cannot be written.
bool surveyDue();

// Posts "&ping=1" to the survey address, waiting at most kPingTimeoutMs; true exactly when
// the reply is "ping". Never throws: an unanswered ping is false without a word.
bool connectionOK();

// The remind-me choice: 0 tomorrow, 1 in 14 days, 2 in 183 days, 3 never ("2099-12-31");
// any other choice writes nothing.
void setSurveyDate(std::int16_t choice);

// The web address (with the configured scheme) and "/survey.php".
std::string surveyUrl();

// The date in characters 1-4 (year), 6-7 (month) and 9-10 (day) of the text; nothing when
// those are not digits or name no real day.
std::optional<std::chrono::sys_days> surveyDateFromText(const std::string& text);
// The day as "yyyy-mm-dd".
std::string surveyDateText(std::chrono::sys_days day);

}  // namespace plorin
