#include "core/config.h"

#include "core/registry.h"
#include "platform/text.h"

#include <string_view>

namespace plorin {
namespace {

std::string trimmedSetting(const char* valueName, const char* defaultValue) {
    std::string value = getRegistry(valueName, "", defaultValue);
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string::npos) return defaultValue;  // an emptied setting is no address
    const auto last = value.find_last_not_of(" \t");
    return value.substr(first, last - first + 1);
}

bool startsWithNoCase(const std::string& text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           platform::equalsNoCase(std::string_view(text).substr(0, prefix.size()), prefix);
}

// The setting without its scheme, and whether that scheme was https.
std::string hostAndScheme(bool& https) {
    std::string host = trimmedSetting("webHost", kDefaultWebHost);
    https = startsWithNoCase(host, "https://");
    if (https) host.erase(0, 8);
    else if (startsWithNoCase(host, "http://")) host.erase(0, 7);
    if (!host.empty() && host.back() == '/') host.pop_back();
    // The maker's own server is only ever reached over TLS; plain http is for a host a
    // setting names explicitly (a local server, an installation's own mirror).
    if (host.empty() || host == kDefaultWebHost) {
        https = true;
        return kDefaultWebHost;
    }
    return host;
}

}  // namespace

std::string webHost() {
    bool https = false;
    return hostAndScheme(https);
}

std::string webAddress() {
    bool https = false;
    const std::string host = hostAndScheme(https);
    return (https ? "https://" : "http://") + host;
}

std::string supportEmail() { return trimmedSetting("supportEmail", kDefaultSupportEmail); }

}  // namespace plorin
