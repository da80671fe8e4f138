// Loading the menu file, the copyright list and the My Elements index into the add-in's state.
// Names from these files are compared in code, never pasted into query text.
#include "libraries/menu_file.h"

#include "core/shared_state.h"
#include "core/config.h"
#include "core/folder_layout.h"
#include "core/globals.h"
#include "platform/services.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "platform/xml_dom.h"

namespace plorin {

std::string menuFilePath() { return state().layout.customization + "menu.xml"; }

std::string myElementsIndexPath() { return state().layout.myElements + "myelements.xml"; }

bool loadMenuFile(const char* failureLead) {
    SharedState& s = state();
    s.styleNames.Clear();
    s.styleFolders.Clear();
    s.menuDocument.reset();

    const std::string path = menuFilePath();
    auto document = std::make_unique<platform::DomDocument>();
    if (!document->load(path)) {
        platform::MsgBox(std::string(failureLead) + "\r\n\r\n" + path + "\r\n\r\n could not be found or is corrupted.",
                         platform::vbCritical, kProductName);
        return false;
    }
    for (const auto& style : document->selectNodes("/Varnotel/style")) {
        const auto name = style.getAttribute("name");
        const auto folder = style.getAttribute("folder");
        if (!name || !folder || !staysInside(*folder)) continue;  // a folder outside the styles is no style
        s.styleNames.Add(*name);
        s.styleFolders.Add(*folder);
    }
    if (s.styleNames.Count() > 0) s.currentStyle = s.styleNames.Item(1);
    s.menuDocument = std::move(document);
    return true;
}

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

        const std::string_view notice = platform::trimmed(line);
        if (notice.empty() || line.front() == '#') continue;
        notices.push_back({std::string(notice), std::string(line)});
    }
    return notices;
}

void loadCopyrightLines() {
    SharedState& s = state();
    s.copyrightLines.Clear();
    const std::string path = s.layout.customization + "copyright.txt";
    auto& fs = platform::fileSystem();
    if (!fs.fileExists(path)) return;
    const auto text = fs.readAll(path);
    if (!text) return;
    for (auto& notice : parseCopyrightList(*text)) s.copyrightLines.Add(std::move(notice.text));
}

void loadMyElementsIndex() {
    SharedState& s = state();
    s.myElementsDocument.reset();
    const std::string path = myElementsIndexPath();
    if (!platform::fileSystem().fileExists(path)) {
        platform::MsgBox("You haven't added any elements to 'My Elements' yet or the database could not be found.",
                         platform::vbInformation, kProductName);
        return;
    }
    auto document = std::make_unique<platform::DomDocument>();
    if (!document->load(path)) {
        platform::MsgBox("The 'My Elements' database is corrupted.\r\nPlease contact us at " + supportEmail() + ".",
                         platform::vbCritical, kProductName);
        return;
    }
    s.myElementsDocument = std::move(document);
}

}  // namespace plorin
