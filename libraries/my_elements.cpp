// The My Elements index and the library presentation.
#include "libraries/my_elements.h"

#include <set>
#include <vector>

#include "core/config.h"
#include "core/errors.h"
#include "core/folders.h"
#include "core/host_version.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "host/ribbon.h"
#include "libraries/library_insert.h"
#include "libraries/menu_file.h"
#include "platform/services.h"
#include "platform/text.h"
#include "platform/ui_driver.h"

namespace plorin {

namespace {

platform::DomNode indexRoot(const platform::DomDocument& index) {
    const platform::DomNode root = index.selectSingleNode("/Varnotel");
    if (!root) raiseObjectNotSet("the index has no Varnotel root");
    return root;
}

}  // namespace

void openMyElementsLibrary(host::Application& app, WindowlessPresentation& library) {
    const std::string folder = state().layout.myElements;
    const std::string ppt = folder + "myelements.ppt", pptx = folder + "myelements.pptx";
    auto& fs = platform::fileSystem();
    auto create = [&](const std::string& path) {
        host::Presentation& made = library.hold(app.Presentations().Add(false));
        createFolder(folder);
        made.SaveAs(path, host::ppSaveAsDefault);
    };
    if (isHostVersion(kCommandBarHosts)) {
        if (fs.fileExists(ppt)) library.open(app, ppt);
        else create(ppt);
        return;
    }
    if (fs.fileExists(pptx)) {
        library.open(app, pptx);
    } else if (fs.fileExists(ppt)) {
        // The old file stays on disk; from now on the ".pptx" is the library.
        library.open(app, ppt).SaveAs(pptx, host::ppSaveAsDefault);
    } else {
        create(pptx);
    }
}

std::string corruptedDatabaseMessage() {
    return "The 'My Elements' database seems to be corrupted.\r\nPlease contact us at " + supportEmail() + ".";
}

void createXML() {
    SharedState& s = state();
    auto index = std::make_unique<platform::DomDocument>();
    const std::string web = "http://" + webHost();
    platform::DomNode root = index->appendChild(index->createElement("Varnotel"));
    root.setAttribute("xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance");
    root.setAttribute("xsi:schemaLocation", web + "/plorinown/myelements.xsd");
    root.setAttribute("xmlns", web + "/plorinown");
    root.setAttribute("addinVersion", "1.0");
    root.appendChild(index->createElement("group")).setAttribute("name", kFirstGroupName);
    s.myElementsDocument = std::move(index);
    createFolder(s.layout.myElements);
    saveMyElementsIndex();
}

void saveMyElementsIndex() {
    const platform::DomDocument* index = state().myElementsDocument.get();
    if (!index) raiseObjectNotSet();
    saveMyElementsIndex(*index);
}

void saveMyElementsIndex(const platform::DomDocument& index) {
    const std::string path = myElementsIndexPath();
    if (!index.save(path)) raiseError(errPathFileAccess, "Path/File access error: cannot write " + path);
}

namespace {

// Names of one kind stay unique: a mended name that meets another is numbered.
void mendNames(const platform::DomNodeList& nodes) {
    std::set<std::string> taken;
    std::vector<platform::DomNode> mended;
    for (const platform::DomNode node : nodes) {
        const std::string name = node.getAttribute("name").value_or("");
        if (platform::withoutNonXmlCharacters(name) == name) taken.insert(name);
        else mended.push_back(node);
    }
    for (platform::DomNode node : mended) {
        const std::string clean = platform::withoutNonXmlCharacters(node.getAttribute("name").value_or(""));
        std::string name = clean;
        for (int n = 2; taken.count(name); ++n) name = clean + " (" + std::to_string(n) + ")";
        node.setAttribute("name", name);
        taken.insert(name);
    }
}

}  // namespace

bool loadMyElementsFile(platform::DomDocument& index) {
    if (!index.load(myElementsIndexPath())) return false;
    mendNames(index.selectNodes("/Varnotel/group"));
    mendNames(index.selectNodes("/Varnotel/group/element"));
    return true;
}

bool haveMyElementsIndex() {
    SharedState& s = state();
    if (!platform::fileSystem().fileExists(myElementsIndexPath())) createXML();
    if (!s.myElementsDocument) {
        // Written since start-up, or mended: read it now.
        auto loaded = std::make_unique<platform::DomDocument>();
        if (loadMyElementsFile(*loaded)) s.myElementsDocument = std::move(loaded);
    }
    return s.myElementsDocument != nullptr;
}

namespace {
struct MyElementsMenuBuilder {
    std::function<void()> rebuild;
};
}  // namespace

std::function<void()>& myElementsMenuBuilder() { return state().feature<MyElementsMenuBuilder>().rebuild; }

void refreshMyElementsMenu() {
    if (isHostVersion(kCommandBarHosts)) {
        if (const auto& rebuild = myElementsMenuBuilder()) rebuild();
        return;
    }
    if (SharedState& s = state(); s.ribbon) s.ribbon->InvalidateControl(kMyElementsMenuId);
}

platform::DomNode findGroup(const platform::DomDocument& index, const std::string& name) {
    return index.selectSingleNode("/Varnotel/group[@name=$name]", {{"name", name}});
}

platform::DomNodeList elementsOfGroup(const platform::DomDocument& index, const std::string& group) {
    const platform::DomNode found = findGroup(index, group);
    return found ? found.selectNodes("element") : platform::DomNodeList();
}

bool elementExists(const platform::DomDocument& index, const std::string& name) {
    return static_cast<bool>(index.selectSingleNode("/Varnotel/group/element[@name=$name]", {{"name", name}}));
}

std::vector<std::string> groupNames(const platform::DomDocument& index) {
    std::vector<std::string> names;
    for (const auto& group : index.selectNodes("/Varnotel/group"))
        names.push_back(group.getAttribute("name").value_or(""));
    return names;
}

platform::DomNode appendGroup(platform::DomDocument& index, const std::string& name) {
    platform::DomNode group = indexRoot(index).appendChild(index.createElement("group"));
    group.setAttribute("name", name);
    return group;
}

platform::DomNode appendElement(platform::DomDocument& index, platform::DomNode group, const std::string& name,
                                long slideId) {
    platform::DomNode element = group.appendChild(index.createElement("element"));
    element.setAttribute("name", name);
    element.setAttribute("slideID", std::to_string(slideId));
    return element;
}

}  // namespace plorin
