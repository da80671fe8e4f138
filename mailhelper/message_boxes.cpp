#include "mailhelper/message_boxes.h"

#include <cstdlib>

#include "platform/shell.h"

namespace plorinpost {

namespace {

// The desktop tools break lines at "\n" alone.
std::string plainLines(std::string text) {
    for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) text.erase(at, 1);
    return text;
}

bool haveDisplay() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY");
}

std::vector<std::string> zenity(const std::string& title, const std::string& text, bool critical) {
    return {"zenity", critical ? "--error" : "--info", "--no-markup", "--title=" + title, "--text=" + text};
}

std::vector<std::string> kdialog(const std::string& title, const std::string& text, bool critical) {
    return {"kdialog", "--title", title, critical ? "--error" : "--msgbox", text};
}

std::vector<std::string> notifySend(const std::string& title, const std::string& text, bool critical) {
    return {"notify-send", critical ? "--urgency=critical" : "--urgency=normal", "--app-name=" + title, "--", title,
            text};
}

}  // namespace

const std::vector<MessageTool>& desktopMessageTools() {
    // A dialog closed with its close box (status 1) was seen as well as one closed with OK.
    static const std::vector<MessageTool> tools = {
        {"zenity", true, 1, &zenity},
        {"kdialog", true, 1, &kdialog},
        {"notify-send", false, 0, &notifySend},
    };
    return tools;
}

DesktopMessageBoxes::DesktopMessageBoxes(std::ostream& fallback, std::vector<MessageTool> tools)
    : fallback_(fallback), tools_(std::move(tools)) {}

int DesktopMessageBoxes::messageBox(const std::string& text, int style, const std::string& title) {
    const std::string shown = plainLines(text);
    const bool critical = (style & 0x70) == platform::vbCritical;
    for (const MessageTool& tool : tools_) {
        if (tool.needsDisplay && !haveDisplay()) continue;
        if (platform::findInPath(tool.program).empty()) continue;
        const int status = platform::runAndWait(tool.arguments(title, shown, critical));
        if (status >= 0 && status <= tool.mostShownStatus) return platform::vbOK;
    }
    fallback_ << title << ": " << shown << std::endl;
    return platform::vbOK;
}

}  // namespace plorinpost
