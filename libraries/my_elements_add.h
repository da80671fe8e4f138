// The dialog "Add to My Elements": the user names the new element and picks its group, and
// may add a group on the way (saved to the index at once). Shown modally by addMyElements
// (addin/my_elements_commands.cpp), which reads the choice afterwards and unloads it.
#pragma once

#include "platform/ui_forms.h"

namespace plorin {

class myElementsAdd : public platform::Form {
public:
    myElementsAdd();

    // True when the dialog was left through a valid "Add element"; false otherwise.
    bool okPressed = false;

    // Lists the index's groups, the first one chosen; without an index the user is told that
    // something went wrong.
    void Form_Load() override;
    // Accepts the name and group after these checks, in order, each telling the user and
    // keeping the dialog open: a name, a chosen group, an index (without one the dialog is
    // left with okPressed false), a name no element of any group has.
    void btnAddElement_Click();
    void btnCancel_Click();
    // Asks for a group name (offering "<New group>"), refuses an empty or taken name, and
    // otherwise appends the group, saves the index and chooses the new group.
    void btnAddGroup_Click();

    platform::Label Label1{*this, "Label1"};
    platform::ListBox groupList{*this, "groupList"};
    platform::CommandButton btnAddGroup{*this, "btnAddGroup"};
    platform::Label Label2{*this, "Label2"};
    platform::TextBox elemName{*this, "elemName"};
    platform::CommandButton btnAddElement{*this, "btnAddElement"};
    platform::CommandButton btnCancel{*this, "btnCancel"};
};

}  // namespace plorin
