// Loading the menu file, the copyright list and the My Elements index into the add-in's state.
// Names from these files are compared in code, never pasted into query text.
#include "libraries/menu_file.h"

#include "core/config.h"
#include "core/folder_layout.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "libraries/my_elements.h"
#include "platform/services.h"
#include "platform/text.h"
#include "platform/ui_driver.h"
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

void loadCopyrightLines() {
    SharedState& s = state();
    s.copyrightLines.Clear();
    const std::string path = s.layout.customization + "copyright.txt";
    const auto text = readListFile(path);
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
    if (!loadMyElementsFile(*document)) {
        platform::MsgBox("The 'My Elements' database is corrupted.\r\nPlease contact us at " + supportEmail() + ".",
                         platform::vbCritical, kProductName);
        return;
    }
    s.myElementsDocument = std::move(document);
}

}  // namespace plorin
