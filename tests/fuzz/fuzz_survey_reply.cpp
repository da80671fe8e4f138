// The survey server's reply to a sent survey: "success" moves the next survey one interval
// ahead and counts it, anything else is told to the user. The schedule starts afresh for
// every input, so that no input depends on the ones before.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "answering_user.h"
#include "core/errors.h"
#include "core/registry.h"
#include "fuzz_support.h"
#include "platform/services.h"
#include "platform/ui_driver.h"
#include "survey/survey_pages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::ScriptedDriver* driver = &fuzz::answeringUser();
    const auto registry = platform::makeMemoryRegistry();
    platform::useRegistryStore(registry.get());
    plorin::setRegistry("surveyCount", "1", "");
    plorin::setRegistry("surveyInterval", "183", "");
    plorin::setRegistry("surveyDate", "2026-12-01", "");

    plorin::HttpReply reply;
    reply.answered = size % 2 == 0;
    reply.status = reply.answered ? 200 : 0;
    reply.body.assign(data, data + size);
    plorin::takeSurveyReply(reply);
    if (driver->messages.size() != 1) fuzz::fail("every reply is answered by one message");
    driver->messages.clear();
    platform::useRegistryStore(nullptr);
    return 0;
}
