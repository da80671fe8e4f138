#include "core/style_files.h"

#include "core/product_name.h"
#include "core/shared_state.h"
#include "platform/services.h"
#include "platform/text.h"
#include "platform/text_files.h"
#include "platform/ui_driver.h"
#include "platform/ui_forms.h"

namespace plorin {

int stylePosition(const std::string& styleName) {
    const auto& names = state().styleNames;
    for (int k = 1; k <= names.Count(); ++k)
        if (names.Item(k) == styleName) return k;
    return 0;
}

std::string styleFolderPath(const std::string& styleName) {
    const int k = stylePosition(styleName);
    if (k == 0) return {};
    return state().layout.styles + state().styleFolders.Item(k) + "/";
}

std::optional<std::string> readListFile(const std::string& path, bool* refused) {
    auto& fs = platform::fileSystem();
    if (!fs.fileExists(path)) return std::nullopt;
    const auto bytes = fs.readAll(path);
    if (!bytes) return std::nullopt;
    auto text = platform::decodeTextFile(*bytes);
    if (refused) *refused = !text;
    if (!text)
        platform::MsgBox("The file '" + path +
                             "' could not be read: it is neither UTF-8 nor UTF-16 text.\r\nPlease save it as UTF-8.",
                         platform::vbExclamation, kProductName);
    return text;
}

std::vector<CopyrightNotice> parseCopyrightList(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<CopyrightNotice> notices;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end;
        if (start < text.size() && text[start] == '\r') ++start;
        if (start < text.size() && text[start] == '\n') ++start;

        // Control characters (what XML cannot carry) are dropped here, once, so that the
        // ribbon's menu and the bars' popup caption each notice alike.
        const std::string kept = platform::withoutNonXmlCharacters(line);
        const std::string_view notice = platform::trimmed(kept);
        if (notice.empty() || line.front() == '#') continue;
        notices.push_back({std::string(notice), kept});
    }
    return notices;
}

}  // namespace plorin
