#include "core/help_topics.h"

#include <cstdio>

#include "core/errors.h"
#include "core/open_url.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "platform/services.h"
#include "platform/ui_driver.h"

namespace plorin {

namespace {
constexpr const char* kContents = "contents";
}

const std::vector<HelpTopic>& helpTopics() {
    static const std::vector<HelpTopic> topics = {
        {1000, kContents},
        {1100, "align-left"},
        {1101, "align-center"},
        {1102, "align-right"},
        {1103, "align-top"},
        {1104, "align-middle"},
        {1105, "align-bottom"},
        {1120, "stretch-width"},
        {1121, "stretch-height"},
        {1122, "stretch-size"},
        {1130, "align-angles"},
        {1131, "process-chain"},
        {1132, "pentagon-header"},
        {1140, "stretch-left"},
        {1141, "stretch-right"},
        {1142, "stretch-top"},
        {1143, "stretch-bottom"},
        {1150, "move-left-to-right"},
        {1151, "move-right-to-left"},
        {1152, "move-top-to-bottom"},
        {1153, "move-bottom-to-top"},
        {1160, "stretch-left-to-right"},
        {1161, "stretch-right-to-left"},
        {1162, "stretch-top-to-bottom"},
        {1163, "stretch-bottom-to-top"},
        {1170, "switch-objects"},
        {1180, "fit-to-text"},
        {1181, "wrap-text"},
        {1182, "margins"},
        {1190, "beautify-indents"},
        {1191, "decrease-indent"},
        {1192, "increase-indent"},
        {1200, "languages"},
        {1210, "save-slides"},
        {1211, "email-slides"},
        {1212, "open-folder"},
        {1220, "hide-shapes"},
        {1221, "unhide-shapes"},
        {1230, "remove-notes"},
        {1231, "block-arrows"},
        {1232, "paste-on-slides"},
        {1233, "motion-path"},
        {1234, "text-statistics"},
        {1235, "golden-section"},
        {1236, "agenda-wizard"},
        {1237, "pick-color"},
        {1240, "settings"},
        {1242, "adjustments"},
        {1243, "black-white"},
        {1244, "reset-colors"},
        {1245, "rounded-rectangles"},
    };
    return topics;
}

std::string helpAnchor(std::int32_t contextId) {
    for (const HelpTopic& topic : helpTopics())
        if (topic.contextId == contextId) return topic.anchor;
    return kContents;
}

std::string helpPagePath(const std::string& programFolder) { return programFolder + "help/index.html"; }

std::string fileAddress(const std::string& path, const std::string& anchor) {
    std::string out = "file://";
    for (unsigned char c : path) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '_' || c == '.' || c == '~' || c == '/';
        if (plain) {
            out += static_cast<char>(c);
        } else {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        }
    }
    return anchor.empty() ? out : out + "#" + anchor;
}

void showHelpContextID(std::int32_t contextId) {
    trap("Help, showHelpContextID", [&] {
        const std::string page = helpPagePath(state().layout.program);
        // A help set missing from the installation is the user's to repair, not a fault to report.
        if (!platform::fileSystem().fileExists(page)) {
            platform::MsgBox(
                "The help could not be opened: the file \"" + page + "\" is missing. Please repair the installation.",
                platform::vbExclamation, kProductName);
            return;
        }
        openURL(fileAddress(page, helpAnchor(contextId)));
    });
}

}  // namespace plorin
