// The menus of the Slide Wizard bar: the library menus built from the menu file, and the
// My Elements popup built from the My Elements index, rebuilt after every change of it.
#include "addin/bar_front_end.h"

#include "core/icons.h"

#include "core/config.h"
#include "core/errors.h"
#include "core/folder_layout.h"
#include "core/images.h"
#include "core/numbers.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "libraries/menu_file.h"
#include "libraries/my_elements.h"
#include "platform/services.h"
#include "platform/text.h"
#include "platform/ui_driver.h"
#include "platform/ui_forms.h"
#include "platform/xml_dom.h"

namespace plorin {

namespace {

constexpr const char* kMyElementsPopup = "My Elements";

// A menu file's flag as the system converts text to a truth value: "True" or "False", or a
// number (non-zero is true). Anything else is taken as false rather than stopping the menu.
bool flagIsSet(const std::string& text) {
    if (platform::equalsNoCase(text, "true")) return true;
    if (platform::equalsNoCase(text, "false")) return false;
    try {
        return toNumber(text) != 0;
    } catch (...) {
        return false;
    }
}

// Separator and tooltip, optional on menus, submenus and items alike.
void applyGroupAndTooltip(host::CommandBarControl& control, const platform::DomNode& node) {
    if (auto group = node.getAttribute("beginGroup")) control.setBeginGroup(flagIsSet(*group));
    if (auto tooltip = node.getAttribute("tooltip")) control.setTooltipText(*tooltip);
}

// A picture of the icons folder; none when the name leaves the folder or the file is no
// picture.
std::shared_ptr<const platform::Picture> iconPicture(const std::string& name) {
    if (!staysInside(name)) return nullptr;
    return loadPictureGdiPlus(state().layout.icons + name);
}

host::CommandBarPopup& myElementsPopup(host::Application& app) {
    auto control = app.CommandBars().Item(kSlideWizardBar)->Controls().Item(kMyElementsPopup);
    auto* popup = dynamic_cast<host::CommandBarPopup*>(control.get());
    if (!popup) raiseError(errTypeMismatch, "Type mismatch: \"My Elements\" is no popup");
    return *popup;
}

}  // namespace

bool pptControls::generateMenuFromXML(const std::string& barName) {
    bool loaded = false;
    trap("pptControls, generateMenuFromXML", [&] {
        // The one reader of the menu file: styles, folders and the current style as on the
        // ribbon; only the message names the file differently.
        if (!loadMenuFile(kCommandBarMenuFileLead)) return;
        auto bar = app().CommandBars().Item(barName);
        for (const auto& menu : state().menuDocument->selectNodes("/Varnotel/menu"))
            generateMenu(bar->Controls(), menu);
        loaded = true;
    });
    return loaded;
}

void pptControls::generateMenu(host::CommandBarControls& parent, const platform::DomNode& node) {
    trap("pptControls, generateMenu", [&] {
        // The parent's controls come down the recursion, so a menu or submenu named like
        // another one never receives the other's items.
        const std::string kind = node.nodeName();
        if (kind == "menu" || kind == "submenu") {
            auto popup = std::static_pointer_cast<host::CommandBarPopup>(parent.Add(host::msoControlPopup));
            popup->setCaption(node.getAttribute("name").value_or(""));
            applyGroupAndTooltip(*popup, node);
            for (const auto& child : node.childNodes()) {
                const std::string childKind = child.nodeName();
                // Two levels only: a submenu inside a submenu is not offered.
                if (childKind == "menuitem" || (kind == "menu" && childKind == "submenu"))
                    generateMenu(popup->Controls(), child);
            }
            return;
        }
        if (kind != "menuitem") return;
        auto button = std::static_pointer_cast<host::CommandBarButton>(parent.Add(host::msoControlButton));
        button->setCaption(node.getAttribute("name").value_or(""));
        button->setTag(kSlideWizardTag);
        button->setParameter(node.getAttribute("file").value_or("") + "," + node.getAttribute("slideNo").value_or(""));
        if (auto icon = node.getAttribute("icon")) {
            if (auto picture = iconPicture(*icon)) button->setPictureImage(std::move(picture));
            if (auto mask = node.getAttribute("mask"))
                if (auto picture = iconPicture(*mask)) button->setMaskImage(std::move(picture));
        }
        applyGroupAndTooltip(*button, node);
        if (!wizButton_) remember(button, kSlideWizardTag);
    });
}

void pptControls::generateMyElementsMenu() {
    trap("pptControls, generateMyElementsMenu", [&] {
        host::CommandBarPopup& popup = myElementsPopup(app());
        auto& controls = popup.Controls();
        while (controls.Count() > 2) controls.Item(3)->Delete();
        if (controls.Count() == 0) {
            auto addFixed = [&](const char* caption, const char* parameter, int picture) {
                auto button = std::static_pointer_cast<host::CommandBarButton>(controls.Add(host::msoControlButton));
                button->setCaption(caption);
                button->setTooltipText(caption);
                button->setTag(kMyElementsTag);
                button->setParameter(parameter);
                // Pictures of the Icons form's "MyElements" list, masks of "MyElementsM".
                button->setPicture(picture);
                button->setMask(picture);
                button->setPictureImage(myElementsPicture(picture));
                button->setMaskImage(myElementsMask(picture));
                return button;
            };
            remember(addFixed("Add selection to My Elements", "addMyElements", 1), kMyElementsTag);
            addFixed("Manage My Elements", "manageMyElements", 2);
        }
        const std::string path = myElementsIndexPath();
        if (!platform::fileSystem().fileExists(path)) return;
        SharedState& s = state();
        auto index = std::make_unique<platform::DomDocument>();
        if (!loadMyElementsFile(*index)) {
            // A damaged index is no document: nothing is ever saved over it.
            s.myElementsDocument.reset();
            platform::MsgBox("The 'My Elements' database is corrupted.\r\nPlease contact us at " + supportEmail() + ".",
                             platform::vbCritical, kProductName);
            return;
        }
        s.myElementsDocument = std::move(index);
        bool first = true;
        for (const auto& group : s.myElementsDocument->selectNodes("/Varnotel/group")) {
            auto groupPopup = std::static_pointer_cast<host::CommandBarPopup>(controls.Add(host::msoControlPopup));
            groupPopup->setCaption(group.getAttribute("name").value_or(""));
            groupPopup->setBeginGroup(first);
            first = false;
            for (const auto& element : group.selectNodes("element")) {
                auto button = std::static_pointer_cast<host::CommandBarButton>(
                    groupPopup->Controls().Add(host::msoControlButton));
                button->setCaption(element.getAttribute("name").value_or(""));
                button->setTag(kMyElementsTag);
                button->setParameter(element.getAttribute("slideID").value_or(""));
            }
        }
    });
}

}  // namespace plorin
