// The library menus' content and the gallery item callbacks. Every name from the menu file or
// the My Elements index is escaped on its way into ribbon XML and bound as a query variable
// on its way back, so apostrophes, quotes and markup in names break nothing. Like every
// ribbon callback these trap no errors: a failure goes back to the host, which shows nothing.
#include "libraries/library_menus.h"

#include <limits>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/errors.h"
#include "core/images.h"
#include "core/numbers.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "libraries/my_elements.h"
#include "libraries/thumbnails.h"
#include "platform/text.h"

namespace plorin {

namespace {

std::string menuOpening() { return std::string("<menu xmlns=\"") + kRibbonNamespace + "\" >"; }

// ` name="value"`, escaped.
std::string attr(const char* name, std::string_view value) {
    return std::string(" ") + name + "=\"" + escapeXmlAttribute(value) + "\"";
}

// The attributes every gallery of a library shares after its id, label and tag.
std::string galleryCallbacks(const std::string& prefix, int itemWidth, int itemHeight) {
    return attr("onAction", prefix + "_onAction") + attr("getItemCount", prefix + "_getItemCount") +
           attr("getItemLabel", prefix + "_getItemLabel") + attr("getItemImage", prefix + "_getItemImage") +
           attr("columns", "2") + attr("itemWidth", std::to_string(itemWidth)) +
           attr("itemHeight", std::to_string(itemHeight));
}

std::int16_t itemCount(std::size_t count) {
    if (count > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) raiseError(errOverflow, "Overflow");
    return static_cast<std::int16_t>(count);
}

// The index's groups as the My Elements galleries show them, read once for all the item
// callbacks of an opening (a thousand elements ask for a label and a picture each) and kept
// while no XML document changes. Values, not nodes: nothing here outlives its document.
class ShownGroups {
public:
    struct Element {
        std::optional<std::string> name, slideId;
    };
    // The elements of the group of that name, as elementsOfGroup finds them.
    const std::vector<Element>& elements(const platform::DomDocument& index, const std::string& group) {
        if (&index != index_ || platform::domChanges() != changes_) read(index);
        const auto found = groups_.find(group);
        return found != groups_.end() ? found->second : kNone;
    }

private:
    void read(const platform::DomDocument& index) {
        index_ = nullptr;
        groups_.clear();
        const std::uint64_t changes = platform::domChanges();
        for (const auto& group : index.selectNodes("/Varnotel/group")) {
            const auto name = group.getAttribute("name");
            if (!name || groups_.count(*name)) continue;  // the first group of a name is the one found
            std::vector<Element>& shown = groups_[*name];
            for (const auto& element : group.selectNodes("element"))
                shown.push_back({element.getAttribute("name"), element.getAttribute("slideID")});
        }
        index_ = &index;
        changes_ = changes;
    }

    inline static const std::vector<Element> kNone;
    const platform::DomDocument* index_ = nullptr;
    std::uint64_t changes_ = 0;
    std::unordered_map<std::string, std::vector<Element>> groups_;
};

// Element `index` (from 0) of the gallery's group; raises error 91 when there is none.
const ShownGroups::Element& shownElement(const platform::DomDocument& document, const host::IRibbonControl& control,
                                         int index) {
    const auto& elements = state().feature<ShownGroups>().elements(document, control.Tag);
    if (index < 0 || static_cast<std::size_t>(index) >= elements.size()) raiseObjectNotSet();
    return elements[static_cast<std::size_t>(index)];
}

// An attribute value the caller cannot do without; raises error 91 when it is missing.
const std::string& required(const std::optional<std::string>& value, const char* name) {
    if (!value) raiseObjectNotSet(std::string("no ") + name);
    return *value;
}

}  // namespace

std::string escapeXmlAttribute(std::string_view text) {
    // What XML cannot carry at all (a NUL from a file saved in a 16-bit encoding) is dropped,
    // as it is from every name the user types.
    const std::string carried = platform::withoutNonXmlCharacters(text);
    std::string out;
    out.reserve(carried.size());
    for (char c : carried) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            case '\t': out += "&#9;"; break;
            case '\n': out += "&#10;"; break;
            case '\r': out += "&#13;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string slideWizardMenuXml(const platform::DomDocument* menuDocument, int itemWidth, int itemHeight) {
    std::string xml = menuOpening();
    if (menuDocument) {
        int i = 0, j = 0;
        for (const auto& menu : menuDocument->selectNodes("/Varnotel/menu")) {
            ++i;
            const std::string menuName = requiredAttribute(menu, "name");
            const std::string menuId = "slideWizard_" + std::to_string(i);
            xml += "<menu" + attr("id", menuId) + attr("label", menuName) + " >";
            for (const auto& submenu : menu.selectNodes("submenu")) {
                ++j;
                const std::string submenuName = requiredAttribute(submenu, "name");
                xml += "<gallery" + attr("id", menuId + "_" + std::to_string(j)) + attr("label", submenuName) +
                       attr("tag", menuName + "\\" + submenuName) +
                       galleryCallbacks("slideWizard", itemWidth, itemHeight) + "/>";
            }
            xml += "</menu>";
        }
    }
    return xml + "</menu>";
}

std::string copyrightMenuXml(const Collection<std::string>& notices) {
    std::string xml = menuOpening();
    for (int n = 1; n <= notices.Count(); ++n)
        xml += "<button" + attr("id", "copyright_" + std::to_string(n)) + attr("tag", std::to_string(n)) +
               attr("label", notices.Item(n)) + attr("onAction", "copyright_onAction") + " />";
    return xml + "</menu>";
}

std::string myElementsMenuXml(const platform::DomDocument& index, int itemWidth, int itemHeight) {
    std::string xml = menuOpening();
    int k = 0;
    for (const auto& group : index.selectNodes("/Varnotel/group")) {
        if (!group.hasChildNodes()) continue;  // nothing to show, and no number taken
        const std::string name = requiredAttribute(group, "name");
        xml += "<gallery" + attr("id", "myElements_" + std::to_string(++k)) + attr("label", name) + attr("tag", name) +
               galleryCallbacks("myElements", itemWidth, itemHeight) + "/>";
    }
    return xml + "</menu>";
}

SubmenuPath splitGalleryTag(const std::string& tag) {
    const auto slash = tag.find('\\');
    if (slash == std::string::npos) return {tag, {}};
    return {tag.substr(0, slash), tag.substr(slash + 1)};
}

platform::DomNodeList slideWizardItems(const platform::DomDocument& menuDocument, const std::string& tag) {
    const SubmenuPath path = splitGalleryTag(tag);
    const auto submenu = menuDocument.selectSingleNode("/Varnotel/menu[@name=$menu]/submenu[@name=$submenu]",
                                                       {{"menu", path.menu}, {"submenu", path.submenu}});
    return submenu ? submenu.selectNodes("menuitem") : platform::DomNodeList();
}

platform::DomNode itemAt(const platform::DomNodeList& list, int index) {
    const platform::DomNode node = list.item(index);
    if (!node) raiseObjectNotSet();
    return node;
}

std::string requiredAttribute(const platform::DomNode& node, const char* name) {
    return required(node.getAttribute(name), name);
}

// ---- The callbacks -------------------------------------------------------------------------

std::string slideWizard_getContent(const host::IRibbonControl&) {
    GalleryThumbnails& thumbnails = galleryThumbnails();
    if (!thumbnails.slideWizardBuilt) thumbnails.slideWizardBuilt = createSlideWizardThumbs(thumbnails.settings);
    return slideWizardMenuXml(state().menuDocument.get(), thumbnails.settings.width, thumbnails.settings.height);
}

std::string copyright_getContent(const host::IRibbonControl&) { return copyrightMenuXml(state().copyrightLines); }

std::string myElements_getContent(const host::IRibbonControl&) {
    GalleryThumbnails& thumbnails = galleryThumbnails();
    createMyElementsThumbs(thumbnails.settings);
    const platform::DomDocument* index = state().myElementsDocument.get();
    if (!index) return {};
    return myElementsMenuXml(*index, thumbnails.settings.width, thumbnails.settings.height);
}

std::int16_t slideWizard_getItemCount(const host::IRibbonControl& control) {
    const platform::DomDocument* menu = state().menuDocument.get();
    return menu ? itemCount(static_cast<std::size_t>(slideWizardItems(*menu, control.Tag).length())) : 0;
}

std::int16_t myElements_getItemCount(const host::IRibbonControl& control) {
    const platform::DomDocument* index = state().myElementsDocument.get();
    return index ? itemCount(state().feature<ShownGroups>().elements(*index, control.Tag).size()) : 0;
}

std::string slideWizard_getItemLabel(const host::IRibbonControl& control, int index) {
    const platform::DomDocument* menu = state().menuDocument.get();
    if (!menu) return {};
    return requiredAttribute(itemAt(slideWizardItems(*menu, control.Tag), index), "name");
}

std::string myElements_getItemLabel(const host::IRibbonControl& control, int index) {
    const platform::DomDocument* document = state().myElementsDocument.get();
    if (!document) return {};
    return required(shownElement(*document, control, index).name, "name");
}

host::RibbonPicture slideWizard_getItemImage(const host::IRibbonControl& control, int index) {
    const platform::DomDocument* menu = state().menuDocument.get();
    if (!menu) return nullptr;
    const auto item = itemAt(slideWizardItems(*menu, control.Tag), index);
    // A missing thumbnail is no picture, not a failure.
    return loadPictureGdiPlus(
        slideWizardThumbPath(requiredAttribute(item, "file"), requiredAttribute(item, "slideNo")));
}

host::RibbonPicture myElements_getItemImage(const host::IRibbonControl& control, int index) {
    const platform::DomDocument* document = state().myElementsDocument.get();
    if (!document) return nullptr;
    return loadPictureGdiPlus(
        myElementsThumbPath(toInteger32(required(shownElement(*document, control, index).slideId, "slideID"))));
}

}  // namespace plorin
