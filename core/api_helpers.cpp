#include "core/api_helpers.h"

#include <cstdio>
#include <filesystem>

#include "core/shared_state.h"
#include "core/errors.h"
#include "core/globals.h"
#include "core/help_topics.h"
#include "platform/services.h"
#include "platform/ui.h"

namespace plorin {

void openURL(const std::string& url) {
    trap("ShellEx, openURL", [&] {
        int code = platform::shell().openDocument(url);
        if (code <= 32)
            reportError("ShellExecute for URL " + url + " failed [" + std::to_string(code) + "]", nullptr);
    });
}

void showHelpContextID(std::int32_t contextId) {
    trap("Help, showHelpContextID", [&] {
        const std::string page = helpPagePath(state().layout.program);
        // A help set missing from the installation is the user's to repair, not a fault to report.
        if (!platform::fileSystem().fileExists(page)) {
            platform::MsgBox("The help could not be opened: the file \"" + page +
                                 "\" is missing. Please repair the installation.",
                             platform::vbExclamation, kProductName);
            return;
        }
        openURL(fileAddress(page, helpAnchor(contextId)));
    });
}

namespace {

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

bool usablePrefix(const std::string& folder) { return !folder.empty() && folder != "/"; }

}  // namespace

std::string getTmpPath() {
    std::string result = "/tmp/";
    trap("ApiHelpers, getTmpPath", [&] {
        std::string t = platform::shell().tempFolder();
        if (!usablePrefix(withSlash(t))) return;
        std::error_code ec;
        auto longForm = std::filesystem::weakly_canonical(std::filesystem::path(t), ec);
        std::string full = withSlash(ec ? t : longForm.string());
        if (usablePrefix(full)) result = full;
    });
    return result;
}

std::string getInternetCachePath() {
    std::string result;
    trap("ApiHelpers, getInternetCachePath", [&] { result = withSlash(platform::shell().internetCacheFolder()); });
    // Without a cache folder of its own, a folder below the temporary folder stands in.
    if (!usablePrefix(result)) result = getTmpPath() + "varnotel-cache/";
    return result;
}

std::string padHex(std::int32_t number, int width) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<std::uint32_t>(number));
    std::string s = buf;
    if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), '0');
    return s;
}

std::string padHex(std::int16_t number, int width) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(static_cast<std::uint16_t>(number)));
    std::string s = buf;
    if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), '0');
    return s;
}

std::string getGUID() {
    std::string result;
    trap("ApiHelpers, getGUID", [&] {
        auto g = platform::shell().newGuid();
        if (!g) return;
        const auto& b = *g;
        // The first three fields are stored little-endian, as the system's GUID record is.
        auto data1 = static_cast<std::int32_t>(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 |
                                               std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24);
        auto data2 = static_cast<std::int16_t>(b[4] | b[5] << 8);
        auto data3 = static_cast<std::int16_t>(b[6] | b[7] << 8);
        std::string s = padHex(data1, 8) + "-" + padHex(data2, 4) + "-" + padHex(data3, 4) + "-" +
                        padHex(std::int32_t(b[8]), 2) + padHex(std::int32_t(b[9]), 2) + "-";
        for (int i = 10; i < 16; ++i) s += padHex(std::int32_t(b[i]), 2);
        result = s;
    });
    return result;
}

int setTopMost(platform::Form& window, bool topMost) {
    window.topMost = topMost;
    return topMost ? 1 : 0;
}

}  // namespace plorin
