#include "core/bar_buttons.h"

#include <charconv>

#include "core/registry.h"

namespace plorin {

std::vector<std::string> listedToolIds() {
    const std::string text = getRegistry("ecyControls", "", "");
    std::vector<std::string> parts;
    if (text.empty()) return parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(';', from);
        parts.push_back(text.substr(from, at - from));
        if (at == std::string::npos) return parts;
        from = at + 1;
    }
}

bool toolIdListed(const std::vector<std::string>& visibleToolIds, int toolId) {
    if (visibleToolIds.empty()) return true;
    for (const std::string& entry : visibleToolIds) {
        std::size_t b = entry.find_first_not_of(" \t");
        std::size_t e = entry.find_last_not_of(" \t");
        if (b == std::string::npos) continue;
        long long value = 0;
        const char* first = entry.data() + b;
        const char* last = entry.data() + e + 1;
        if (*first == '+') ++first;
        auto [ptr, ec] = std::from_chars(first, last, value);
        if (ec == std::errc() && ptr == last && value == toolId) return true;
    }
    return false;
}

bool shownOnBar(const std::string& parameter, bool listed) {
    if (!listed) return false;
    return parameter != "resetCustomColors" || !getRegistry("customColors", "", "").empty();
}

}  // namespace plorin
