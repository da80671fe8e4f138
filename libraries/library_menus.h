// The library menus on the ribbon: the Slide Wizard, copyright and My Elements dynamic menus
// as ribbon XML built from the add-in's state when a menu opens, and the way back from a
// gallery's tag and item index to the menu file's item, and what the ribbon's menu and gallery
// callbacks answer (the add-in object's callbacks forward here).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/collection.h"
#include "host/ribbon.h"
#include "platform/xml_dom.h"

namespace plorin {

// The ribbon namespace every dynamic menu's content is written in.
constexpr const char* kRibbonNamespace = "http://schemas.microsoft.com/office/2006/01/customui";

// Text as the value of an XML attribute between double quotes: & < > " ' and the tab and
// line breaks become references, so that whatever a name holds reads back unchanged.
std::string escapeXmlAttribute(std::string_view text);

// The Slide Wizard menu: for menu i of the menu file (from 1) an inner menu "slideWizard_<i>"
// labelled with its name, holding for each of its submenus a gallery "slideWizard_<i>_<j>"
// (j counts submenus over the whole menu file, from 1) labelled with the submenu's name,
// tagged "<menu>\<submenu>", two columns of items of the given size. Without a menu document
// the menu is empty.
std::string slideWizardMenuXml(const platform::DomDocument* menuDocument, int itemWidth, int itemHeight);
// The copyright menu: for notice n (from 1) a button "copyright_<n>" tagged n and labelled
// with the notice.
std::string copyrightMenuXml(const Collection<std::string>& notices);
// The My Elements menu: for each group holding elements, counted k from 1, a gallery
// "myElements_<k>" labelled and tagged with the group's name; empty groups get none.
std::string myElementsMenuXml(const platform::DomDocument& index, int itemWidth, int itemHeight);

// A Slide Wizard gallery's tag split at its first "\" into the menu's and the submenu's
// names (the whole tag and "" when it holds none).
struct SubmenuPath {
    std::string menu;
    std::string submenu;
};
SubmenuPath splitGalleryTag(const std::string& tag);

// The `menuitem` children of the submenu a gallery's tag names, in file order; none when
// the menu file has no such submenu. Names are matched as values, whatever they hold.
platform::DomNodeList slideWizardItems(const platform::DomDocument& menuDocument, const std::string& tag);

// Item `index` (from 0) of a list; raises error 91 when there is none, as reading a
// missing node does.
platform::DomNode itemAt(const platform::DomNodeList& list, int index);
// An attribute the caller cannot do without; raises error 91 when it is missing.
std::string requiredAttribute(const platform::DomNode& node, const char* name);

// The menus' content and the galleries' items for the ribbon's callbacks (their behaviour is
// described with Connect's members of the same names).
std::string slideWizard_getContent(const host::IRibbonControl& control);
std::string copyright_getContent(const host::IRibbonControl& control);
std::string myElements_getContent(const host::IRibbonControl& control);
std::int16_t slideWizard_getItemCount(const host::IRibbonControl& control);
std::int16_t myElements_getItemCount(const host::IRibbonControl& control);
std::string slideWizard_getItemLabel(const host::IRibbonControl& control, int index);
std::string myElements_getItemLabel(const host::IRibbonControl& control, int index);
host::RibbonPicture slideWizard_getItemImage(const host::IRibbonControl& control, int index);
host::RibbonPicture myElements_getItemImage(const host::IRibbonControl& control, int index);

}  // namespace plorin
