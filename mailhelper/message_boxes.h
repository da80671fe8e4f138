// Where plorinpost's message boxes reach the user. It has no windows of its own and runs
// detached from the add-in, so its standard error reaches nobody on a desktop: a box goes to
// the first desktop dialog tool that shows it, else to a desktop notification, else to
// standard error.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/ui_driver.h"
#include "platform/ui_forms.h"

namespace plorinpost {

// A program that shows a box: searched in PATH and started with an argument vector.
struct MessageTool {
    std::string program;
    bool needsDisplay;    // tried only when DISPLAY or WAYLAND_DISPLAY is set
    int mostShownStatus;  // exit statuses 0 to this one mean the user saw the box
    std::vector<std::string> (*arguments)(const std::string& title, const std::string& text, bool critical);
};

// zenity and kdialog (dialogs), then notify-send (a notification).
const std::vector<MessageTool>& desktopMessageTools();

// The user-interface driver of plorinpost: message boxes only, each with its one OK button
// (the answer is always vbOK); no input boxes, file dialogs or forms.
class DesktopMessageBoxes final : public platform::UiDriver {
public:
    explicit DesktopMessageBoxes(std::ostream& fallback, std::vector<MessageTool> tools = desktopMessageTools());

    int messageBox(const std::string& text, int style, const std::string& title) override;
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> fileDialog(const std::string&, const std::string&) override { return std::nullopt; }
    void runModal(platform::Form&) override {}

private:
    std::ostream& fallback_;
    std::vector<MessageTool> tools_;
};

}  // namespace plorinpost
