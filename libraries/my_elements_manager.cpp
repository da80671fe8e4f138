#include "libraries/my_elements_manager.h"

#include <utility>

#include "core/config.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "core/windowless_presentation.h"
#include "host/host.h"
#include "libraries/my_elements.h"
#include "libraries/thumbnails.h"
#include "platform/text.h"
#include "platform/ui_driver.h"

namespace plorin {

namespace {

constexpr const char* kNewGroupName = "<New group>";

void critical(const std::string& text) { platform::MsgBox(text, platform::vbCritical, kProductName); }

bool confirmed(const std::string& question) {
    return platform::MsgBox(question, platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2,
                            kProductName) == platform::vbYes;
}

std::string nameOf(const platform::DomNode& node) { return node.getAttribute("name").value_or(""); }
bool isGroup(const platform::DomNode& node) { return node.nodeName() == "group"; }

// A small square in one colour: the tree's and the arrow buttons' pictures.
std::shared_ptr<platform::Picture> swatch(const char* source, std::uint32_t argb) {
    auto picture = std::make_shared<platform::Picture>();
    picture->width = picture->height = 16;
    picture->pixels.assign(16 * 16, argb);
    picture->source = source;
    return picture;
}

// Deletes the queued slides ("id;id;...;") from the library, in list order. An id the library
// does not hold (or that is no number) is skipped: the element is gone from the index already.
// The library is saved and closed on every path.
void deleteLibrarySlides(const std::string& libraryPath, const std::string& pending) {
    WindowlessPresentation library;
    library.open(hostApplication(), libraryPath);
    std::size_t start = 0;
    while (start < pending.size()) {
        std::size_t end = pending.find(';', start);
        if (end == std::string::npos) end = pending.size();
        const std::string id = pending.substr(start, end - start);
        start = end + 1;
        ignoreErrors([&] { library->Slides().FindBySlideID(toInteger32(id))->Delete(); });
    }
    library->Save();
}

}  // namespace

myElementsManager::myElementsManager() : platform::Form("myElementsManager") {
    Caption = "Manage My Elements";
    elementsTree.LabelEdit = true;
    imageList.images = {swatch("group", 0xFFE0B040), swatch("element", 0xFF4080C0), swatch("up", 0xFF606060),
                        swatch("down", 0xFF606060)};
    btnAddGroup.Caption = "&Add group";
    btnAddGroup.ToolTipText = "Add group";
    btnRename.Caption = "&Rename";
    btnRename.ToolTipText = "Rename group or element";
    btnDelete.Caption = "&Delete ";
    btnDelete.ToolTipText = "Delete group or element";
    btnUp.ToolTipText = "Move group or element up";
    btnDown.ToolTipText = "Move group or element down";
    btnOK.Caption = "&OK";
    btnOK.Default = true;
    btnCancel.Caption = "&Cancel";
    btnCancel.Cancel = true;
    info.Caption =
        "My Elements are organized in groups. You can add, rename, reorder or delete groups. Elements can be renamed, "
        "reordered or deleted.";

    btnAddGroup.onClick = [this] { btnAddGroup_Click(); };
    btnRename.onClick = [this] { btnRename_Click(); };
    btnDelete.onClick = [this] { btnDelete_Click(); };
    btnUp.onClick = [this] { btnUp_Click(); };
    btnDown.onClick = [this] { btnDown_Click(); };
    btnOK.onClick = [this] { btnOK_Click(); };
    btnCancel.onClick = [this] { btnCancel_Click(); };
    elementsTree.onAfterLabelEdit = [this](const std::string& text, bool& cancel) {
        elementsTree_AfterLabelEdit(text, cancel);
    };
}

void myElementsManager::Form_Load() {
    trap("myElementsManager, Form_Load", [&] {
        pendingSlideIds_.clear();
        document_.reset();
        // The dialog edits a copy: Cancel must leave the shared index as it was, also for
        // whoever saves it next.
        const platform::DomDocument* shared = state().myElementsDocument.get();
        auto copy = std::make_unique<platform::DomDocument>();
        if (!shared || !copy->loadXML(shared->xml())) {
            critical(corruptedDatabaseMessage());
            Unload();
            return;
        }
        document_ = std::move(copy);
        xml2treeview();
    });
}

void myElementsManager::Form_Unload() {
    document_.reset();
    treeNodes_.clear();
    elementsTree.clear();
    pendingSlideIds_.clear();
}

void myElementsManager::xml2treeview(SelectKind selType, const std::string& selName) {
    trap("myElementsManager, xml2treeview", [&] {
        LockControl(true);
        struct Unlock {
            myElementsManager& form;
            ~Unlock() { form.LockControl(false); }
        } unlock{*this};
        elementsTree.clear();
        treeNodes_.clear();
        if (!document_) return;
        int selected = -1;
        auto add = [&](const platform::DomNode& node, const std::string& parentKey, SelectKind kind) {
            platform::TreeNode treeNode;
            treeNode.key = std::to_string(elementsTree.nodes.size() + 1) + "ID";
            treeNode.text = nameOf(node);
            treeNode.parentKey = parentKey;
            treeNode.image = kind;
            treeNode.expanded = true;
            if (selected < 0 && kind == selType && treeNode.text == selName)
                selected = static_cast<int>(elementsTree.nodes.size());
            elementsTree.nodes.push_back(std::move(treeNode));
            treeNodes_.push_back(node);
            return elementsTree.nodes.back().key;
        };
        for (const auto& group : document_->selectNodes("/Varnotel/group")) {
            const std::string groupKey = add(group, {}, selectGroup);
            for (const auto& element : group.selectNodes("element")) add(element, groupKey, selectElement);
        }
        elementsTree.selectedIndex = selected;
    });
}

platform::DomNode myElementsManager::selectedIndexNode() const {
    const int i = elementsTree.selectedIndex;
    return i >= 0 && i < static_cast<int>(treeNodes_.size()) ? treeNodes_[static_cast<std::size_t>(i)]
                                                             : platform::DomNode();
}

void myElementsManager::btnAddGroup_Click() {
    trap("myElementsManager, btnAddGroup_Click", [&] {
        if (!document_) return;
        if (findGroup(*document_, kNewGroupName)) {
            platform::MsgBox(
                std::string("Before creating a new group you need to rename the group '") + kNewGroupName + "'.",
                platform::vbInformation, kProductName);
            return;
        }
        appendGroup(*document_, kNewGroupName);
        xml2treeview();
        elementsTree.selectedIndex = static_cast<int>(elementsTree.nodes.size()) - 1;
        elementsTree.StartLabelEdit();
    });
}

void myElementsManager::btnRename_Click() {
    trap("myElementsManager, btnRename_Click", [&] { elementsTree.StartLabelEdit(); });
}

void myElementsManager::elementsTree_AfterLabelEdit(const std::string& typed, bool& cancel) {
    // Refused unless the new name is stored.
    cancel = true;
    trap("myElementsManager, elementsTree_AfterLabelEdit", [&] {
        const int edited = elementsTree.editingIndex();
        if (!document_ || edited < 0 || edited >= static_cast<int>(treeNodes_.size())) return;
        platform::DomNode node = treeNodes_[static_cast<std::size_t>(edited)];
        // The ribbon's labels cannot carry what XML cannot: the name never holds it either.
        const std::string newText = platform::withoutNonXmlCharacters(typed);
        if (newText.empty()) {
            critical("The name can't be empty. Please specify a name.");
            return;
        }
        const bool taken =
            isGroup(node) ? static_cast<bool>(findGroup(*document_, newText)) : elementExists(*document_, newText);
        if (taken) {
            critical("The specified name already exists. Please specify a new name.");
            return;
        }
        node.setAttribute("name", newText);
        if (newText == typed) cancel = false;
        else elementsTree.nodes[static_cast<std::size_t>(edited)].text = newText;
    });
}

void myElementsManager::btnDelete_Click() {
    trap("myElementsManager, btnDelete_Click", [&] {
        if (elementsTree.nodes.empty()) return;
        platform::DomNode node = selectedIndexNode();
        if (!node) return;
        const bool group = isGroup(node);
        const std::string question =
            group ? "Are you sure you want to delete the selected group '" + nameOf(node) + "' including all elements?"
                  : "Are you sure you want to delete the selected element '" + nameOf(node) + "'?";
        if (!confirmed(question)) return;
        auto queue = [&](const platform::DomNode& element) {
            // An element without a slide id has no slide to delete.
            if (const auto id = element.getAttribute("slideID"); id && !id->empty()) pendingSlideIds_ += *id + ";";
        };
        if (group) {
            for (const auto& element : node.selectNodes("element")) queue(element);
        } else {
            queue(node);
        }
        node.parentNode().removeChild(node);

        // The node goes from the tree, a group's with its elements; the one after it is selected.
        elementsTree.cancelLabelEdit();
        const auto first = static_cast<std::size_t>(elementsTree.selectedIndex);
        std::size_t last = first + 1;
        const std::string key = elementsTree.nodes[first].key;
        while (last < elementsTree.nodes.size() && elementsTree.nodes[last].parentKey == key) ++last;
        elementsTree.nodes.erase(elementsTree.nodes.begin() + static_cast<std::ptrdiff_t>(first),
                                 elementsTree.nodes.begin() + static_cast<std::ptrdiff_t>(last));
        treeNodes_.erase(treeNodes_.begin() + static_cast<std::ptrdiff_t>(first),
                         treeNodes_.begin() + static_cast<std::ptrdiff_t>(last));
        const int count = static_cast<int>(elementsTree.nodes.size());
        elementsTree.selectedIndex = std::min(static_cast<int>(first), count - 1);
    });
}

void myElementsManager::move(bool up) {
    platform::DomNode node = selectedIndexNode();
    if (!node) return;
    const bool group = isGroup(node);
    const char* sibling = up ? (group ? "preceding-sibling::group[1]" : "preceding-sibling::element[1]")
                             : (group ? "following-sibling::group[1]" : "following-sibling::element[1]");
    platform::DomNode parent = node.parentNode();
    if (const platform::DomNode next = node.selectSingleNode(sibling)) {
        parent.insertBefore(node, up ? next : next.nextSibling());
    } else if (!group) {
        platform::DomNode other =
            parent.selectSingleNode(up ? "preceding-sibling::group[1]" : "following-sibling::group[1]");
        if (!other) return;
        if (up) other.appendChild(node);
        else other.insertBefore(node, other.selectSingleNode("element"));
    } else {
        return;
    }
    xml2treeview(group ? selectGroup : selectElement, nameOf(node));
}

void myElementsManager::btnUp_Click() {
    trap("myElementsManager, btnUp_Click", [&] { move(true); });
}

void myElementsManager::btnDown_Click() {
    trap("myElementsManager, btnDown_Click", [&] { move(false); });
}

void myElementsManager::btnOK_Click() {
    trap("myElementsManager, btnOK_Click", [&] {
        if (!document_) {
            Unload();
            return;
        }
        const std::string libraryPath = getMyElementsFile();
        saveMyElementsIndex(*document_);
        // Saved: the copy becomes the index everyone reads.
        state().myElementsDocument = std::move(document_);
        treeNodes_.clear();
        const std::string pending = std::exchange(pendingSlideIds_, {});
        // The index is written already: a library that fails is reported, and the menu is
        // still brought up to date and the dialog closed.
        if (!pending.empty())
            trap("myElementsManager, btnOK_Click", [&] { deleteLibrarySlides(libraryPath, pending); });
        refreshMyElementsMenu();
        Unload();
    });
}

void myElementsManager::btnCancel_Click() {
    trap("myElementsManager, btnCancel_Click", [&] { Unload(); });
}

}  // namespace plorin
