#include "updater/error_box.h"

#include "platform/ui_driver.h"

namespace plorinrenew {

void errorBox(const std::string& where, const plorin::ErrorInfo* error) {
    plorin::ignoreErrors([&] {
        std::string text = "Error: \r\n" + where;
        if (error) text += " (" + std::to_string(error->Number) + ", " + error->Description + ")";
        platform::MsgBox(text, platform::vbCritical, kMessageTitle);
    });
}

plorin::ErrorSink installErrorBox() { return plorin::setErrorSink(&errorBox); }

}  // namespace plorinrenew
