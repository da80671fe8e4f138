#include "core/host_version.h"

#include <string_view>

#include "core/shared_state.h"
#include "host/host.h"

namespace plorin {

bool isHostVersion(const std::string& versionList) {
    const std::string& version = hostApplication().Version();
    std::string_view rest = versionList;
    while (true) {
        const std::size_t end = rest.find(';');
        if (rest.substr(0, end) == version) return true;
        if (end == std::string_view::npos) return false;
        rest.remove_prefix(end + 1);
    }
}

HostFamily hostFamily() {
    if (isHostVersion(kCommandBarHosts)) return HostFamily::commandBars;
    if (isHostVersion(kRibbonHosts)) return HostFamily::ribbon;
    return HostFamily::other;
}

}  // namespace plorin
