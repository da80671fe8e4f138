// The ribbon callbacks of the Slide Wizard and My Elements: the add-in object's members
// forward to the libraries, and the name tables the host's calls are looked up in.
#include "addin/connect.h"
#include "addin/ribbon_callbacks.h"
#include "libraries/library_insert.h"
#include "libraries/library_menus.h"
#include "libraries/styles.h"
#include "libraries/thumbnails.h"

namespace plorin {

const ThumbnailSettings& Connect::thumbnailSettings() const { return galleryThumbnails().settings; }

void Connect::onLoad(host::IRibbonUI* ribbon) { libraries_onLoad(ribbon); }

std::int16_t Connect::style_getItemCount(const host::IRibbonControl& control) {
    return plorin::style_getItemCount(control);
}
std::string Connect::style_getItemLabel(const host::IRibbonControl& control, int index) {
    return plorin::style_getItemLabel(control, index);
}
void Connect::style_onAction(const host::IRibbonControl& control, const std::string& selectedId, int selectedIndex) {
    plorin::style_onAction(control, selectedId, selectedIndex);
}
std::int16_t Connect::style_getSelectedItemIndex(const host::IRibbonControl& control) {
    return plorin::style_getSelectedItemIndex(control);
}

std::string Connect::slideWizard_getContent(const host::IRibbonControl& control) {
    return plorin::slideWizard_getContent(control);
}
std::string Connect::copyright_getContent(const host::IRibbonControl& control) {
    return plorin::copyright_getContent(control);
}
std::string Connect::myElements_getContent(const host::IRibbonControl& control) {
    return plorin::myElements_getContent(control);
}
std::int16_t Connect::slideWizard_getItemCount(const host::IRibbonControl& control) {
    return plorin::slideWizard_getItemCount(control);
}
std::int16_t Connect::myElements_getItemCount(const host::IRibbonControl& control) {
    return plorin::myElements_getItemCount(control);
}
std::string Connect::slideWizard_getItemLabel(const host::IRibbonControl& control, int index) {
    return plorin::slideWizard_getItemLabel(control, index);
}
std::string Connect::myElements_getItemLabel(const host::IRibbonControl& control, int index) {
    return plorin::myElements_getItemLabel(control, index);
}
host::RibbonPicture Connect::slideWizard_getItemImage(const host::IRibbonControl& control, int index) {
    return plorin::slideWizard_getItemImage(control, index);
}
host::RibbonPicture Connect::myElements_getItemImage(const host::IRibbonControl& control, int index) {
    return plorin::myElements_getItemImage(control, index);
}

void Connect::slideWizard_onAction(const host::IRibbonControl& control, const std::string& selectedId,
                                   int selectedIndex) {
    plorin::slideWizard_onAction(control, selectedId, selectedIndex);
}
void Connect::myElements_onAction(const host::IRibbonControl& control, const std::string& selectedId,
                                  int selectedIndex) {
    plorin::myElements_onAction(control, selectedId, selectedIndex);
}

namespace {

host::RibbonValue picture(host::RibbonPicture p) {
    if (!p) return {};
    return p;
}

}  // namespace

const std::vector<RibbonCallback> kLibraryMenuCallbacks = {
    {"slideWizard_getContent",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs&) -> host::RibbonValue {
         return c.slideWizard_getContent(ctl);
     }},
    {"copyright_getContent",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs&) -> host::RibbonValue {
         return c.copyright_getContent(ctl);
     }},
    {"myElements_getContent",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs&) -> host::RibbonValue {
         return c.myElements_getContent(ctl);
     }},
    {"slideWizard_getItemCount",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs&) -> host::RibbonValue {
         return static_cast<int>(c.slideWizard_getItemCount(ctl));
     }},
    {"myElements_getItemCount",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs&) -> host::RibbonValue {
         return static_cast<int>(c.myElements_getItemCount(ctl));
     }},
    {"slideWizard_getItemLabel",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs& a) -> host::RibbonValue {
         return c.slideWizard_getItemLabel(ctl, ribbonInt(a, 0));
     }},
    {"myElements_getItemLabel",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs& a) -> host::RibbonValue {
         return c.myElements_getItemLabel(ctl, ribbonInt(a, 0));
     }},
    {"slideWizard_getItemImage",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs& a) -> host::RibbonValue {
         return picture(c.slideWizard_getItemImage(ctl, ribbonInt(a, 0)));
     }},
    {"myElements_getItemImage",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs& a) -> host::RibbonValue {
         return picture(c.myElements_getItemImage(ctl, ribbonInt(a, 0)));
     }},
};

const std::vector<RibbonCallback> kLibraryInsertCallbacks = {
    {"slideWizard_onAction",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs& a) -> host::RibbonValue {
         c.slideWizard_onAction(ctl, ribbonText(a, 0), ribbonInt(a, 1));
         return {};
     }},
    {"myElements_onAction",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs& a) -> host::RibbonValue {
         c.myElements_onAction(ctl, ribbonText(a, 0), ribbonInt(a, 1));
         return {};
     }},
};

const std::vector<RibbonCallback> kStyleCallbacks = {
    {"style_getItemCount",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs&) -> host::RibbonValue {
         return static_cast<int>(c.style_getItemCount(ctl));
     }},
    {"style_getItemLabel",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs& a) -> host::RibbonValue {
         return c.style_getItemLabel(ctl, ribbonInt(a, 0));
     }},
    {"style_onAction",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs& a) -> host::RibbonValue {
         c.style_onAction(ctl, ribbonText(a, 0), ribbonInt(a, 1));
         return {};
     }},
    {"style_getSelectedItemIndex",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs&) -> host::RibbonValue {
         return static_cast<int>(c.style_getSelectedItemIndex(ctl));
     }},
};

}  // namespace plorin
