#include "core/config.h"

#include "core/registry.h"

namespace plorin {
namespace {

std::string trimmedSetting(const char* valueName, const char* defaultValue) {
    std::string value = getRegistry(valueName, "", defaultValue);
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string::npos) return defaultValue;  // an emptied setting is no address
    const auto last = value.find_last_not_of(" \t");
    return value.substr(first, last - first + 1);
}

}  // namespace

std::string webHost() { return trimmedSetting("webHost", kDefaultWebHost); }

std::string supportEmail() { return trimmedSetting("supportEmail", kDefaultSupportEmail); }

}  // namespace plorin
