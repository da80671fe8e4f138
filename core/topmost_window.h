// Keeping a dialog above every other window (the error and survey dialogs, the update
// add-in's dialogs).
#pragma once

#include "platform/ui_forms.h"

namespace plorin {

// Makes a window topmost (returns 1) or not (returns 0).
inline int setTopMost(platform::Form& window, bool topMost) {
    window.topMost = topMost;
    return topMost ? 1 : 0;
}

}  // namespace plorin
