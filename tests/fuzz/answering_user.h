// For the targets of programs without the add-in harness: a user who answers every message
// with OK and whose messages the target reads and clears.
#pragma once

#include "platform/ui_driver.h"

namespace fuzz {

inline platform::ScriptedDriver& answeringUser() {
    static platform::ScriptedDriver* driver = [] {
        auto* d = new platform::ScriptedDriver();  // kept to the end: messages may come at exit
        d->onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
        platform::setUiDriver(d);
        return d;
    }();
    return *driver;
}

}  // namespace fuzz
