#include "libraries/my_elements_add.h"

#include "core/config.h"
#include "core/errors.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "libraries/my_elements.h"
#include "platform/text.h"
#include "platform/ui_driver.h"
#include "platform/xml_dom.h"

namespace plorin {

namespace {

void critical(const std::string& text) { platform::MsgBox(text, platform::vbCritical, kProductName); }

}  // namespace

myElementsAdd::myElementsAdd() : platform::Form("myElementsAdd") {
    Caption = "Add to My Elements";
    Label1.Caption = "Add to group";
    groupList.ToolTipText = "Select destination group";
    btnAddGroup.Caption = "New &group";
    btnAddGroup.ToolTipText = "Add new group";
    Label2.Caption = "Element name";
    elemName.setText("New element");
    elemName.ToolTipText = "Please specify the name for the element to be added";
    btnAddElement.Caption = "&Add element";
    btnAddElement.ToolTipText = "Add element to selected group";
    btnAddElement.Default = true;
    btnCancel.Caption = "&Cancel";
    btnCancel.Cancel = true;

    btnAddElement.onClick = [this] { btnAddElement_Click(); };
    btnCancel.onClick = [this] { btnCancel_Click(); };
    btnAddGroup.onClick = [this] { btnAddGroup_Click(); };
}

void myElementsAdd::Form_Load() {
    trap("myElementsAdd, Form_Load", [&] {
        okPressed = false;
        const platform::DomDocument* index = state().myElementsDocument.get();
        if (!index) {
            critical("An unexpected error occurred adding to the 'My Elements' collection.\r\nPlease contact us at " +
                     supportEmail() + " if the problem persists.");
            return;
        }
        groupList.Clear();
        for (const auto& name : groupNames(*index)) groupList.AddItem(name);
        if (groupList.ListCount() > 0) groupList.setListIndex(0);
        // The whole name is selected, so that typing replaces "New element": a driver's text
        // replaces it anyway.
    });
}

void myElementsAdd::btnAddElement_Click() {
    trap("myElementsAdd, btnAddElement_Click", [&] {
        // The ribbon's labels cannot carry what XML cannot: the name never holds it either.
        elemName.setText(platform::withoutNonXmlCharacters(elemName.Text()));
        if (elemName.Text().empty()) {
            critical("The 'Element name' can't be empty. Please specify a name for the element to be added.");
            return;
        }
        if (groupList.ListIndex() < 0) {
            critical("Before adding the element, please create a new group.");
            return;
        }
        const platform::DomDocument* index = state().myElementsDocument.get();
        if (!index) {
            critical(corruptedDatabaseMessage());
            okPressed = false;
            Hide();
            return;
        }
        if (elementExists(*index, elemName.Text())) {
            critical("The specified element name already exists. Please specify a new name.");
            return;
        }
        okPressed = true;
        Hide();
    });
}

void myElementsAdd::btnCancel_Click() {
    okPressed = false;
    Hide();
}

void myElementsAdd::btnAddGroup_Click() {
    trap("myElementsAdd, btnAddGroup_Click", [&] {
        const auto answer =
            platform::InputBox("Please enter a name for the group you would like to add.", kProductName, "<New group>");
        if (!answer) return;  // cancelled
        platform::DomDocument* index = state().myElementsDocument.get();
        if (!index) {
            critical(corruptedDatabaseMessage());
            return;
        }
        const std::string name = platform::withoutNonXmlCharacters(*answer);
        if (name.empty()) {
            critical("The group name cannot be empty.");
            return;
        }
        if (findGroup(*index, name)) {
            critical("The group name '" + name + "' already exists. Please specify a new group name.");
            return;
        }
        platform::DomNode group = appendGroup(*index, name);
        // Saved at once: the group stays even when the dialog is cancelled afterwards. A
        // group the file does not hold is not offered either.
        try {
            saveMyElementsIndex();
        } catch (...) {
            group.parentNode().removeChild(group);
            throw;
        }
        groupList.AddItem(name);
        groupList.setListIndex(groupList.ListCount() - 1);
    });
}

}  // namespace plorin
