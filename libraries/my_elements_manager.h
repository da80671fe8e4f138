// The dialog "Manage My Elements" (opened by manageMyElements, addin/my_elements_commands.cpp): the user adds groups,
// renames, deletes and reorders groups and elements in a two-level tree. The dialog works on its own copy of the index:
// OK saves the copy over "myelements.xml", puts it in place of the shared document and deletes the deleted elements'
// library slides; Cancel throws the copy and the queued deletions away.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui_forms.h"
#include "platform/xml_dom.h"

namespace plorin {

class myElementsManager : public platform::Form {
public:
    // What xml2treeview selects after filling.
    enum SelectKind { selectNone = 0, selectGroup = 1, selectElement = 2 };

    myElementsManager();

    // Copies the shared index and fills the tree; without an index the user is told it is
    // damaged and the dialog unloads.
    void Form_Load() override;
    void Form_Unload() override;

    // Appends a group "<New group>" and starts editing its label; only one such group at a time.
    void btnAddGroup_Click();
    void btnRename_Click();
    // Asks first; a deleted element's slide id is queued for OK.
    void btnDelete_Click();
    // Moves the selected node one place up (down) among its siblings; an element at its
    // group's border moves into the previous (next) group.
    void btnUp_Click();
    void btnDown_Click();
    void btnOK_Click();
    void btnCancel_Click();
    // Refuses an empty name and one another group (element) already has, else renames.
    void elementsTree_AfterLabelEdit(const std::string& typed, bool& cancel);

    // Refills the tree from the dialog's copy of the index, selecting the node of that kind
    // and label.
    void xml2treeview(SelectKind selType = selectNone, const std::string& selName = {});

    // The slide ids deleted since the dialog loaded, each followed by ";".
    const std::string& pendingSlideIds() const { return pendingSlideIds_; }
    // The dialog's copy of the index (null before Form_Load and after OK or Cancel).
    const platform::DomDocument* document() const { return document_.get(); }
    // True while xml2treeview refills the tree, so that nothing is drawn half-way.
    bool treeRedrawLocked() const { return treeRedrawLocked_; }

    platform::TreeView elementsTree{*this, "elementsTree"};
    platform::ImageList imageList{*this, "imageList"};
    platform::CommandButton btnAddGroup{*this, "btnAddGroup"};
    platform::CommandButton btnRename{*this, "btnRename"};
    platform::CommandButton btnDelete{*this, "btnDelete"};
    platform::CommandButton btnUp{*this, "btnUp"};
    platform::CommandButton btnDown{*this, "btnDown"};
    platform::CommandButton btnOK{*this, "btnOK"};
    platform::CommandButton btnCancel{*this, "btnCancel"};
    platform::Label info{*this, "info"};

private:
    // The index node behind the selected tree node, or a null handle.
    platform::DomNode selectedIndexNode() const;
    void move(bool up);
    void LockControl(bool lock) { treeRedrawLocked_ = lock; }

    std::unique_ptr<platform::DomDocument> document_;
    // Index nodes behind the tree's nodes, position for position.
    std::vector<platform::DomNode> treeNodes_;
    std::string pendingSlideIds_;
    bool treeRedrawLocked_ = false;
};

}  // namespace plorin
