// The library's side of the ribbon front end: what onLoad loads, and the style drop-down
// ("vn_1025") over the styles of the menu file. Like every ribbon callback these trap no
// errors: a failure goes back to the host, which keeps what it showed.
#include "core/addin_state.h"
#include "core/connect.h"
#include "core/errors.h"
#include "core/menu_file.h"
#include "core/ribbon_callbacks.h"
#include "core/thumbnails.h"
#include "host/host.h"

namespace core {

namespace {

constexpr const char* kStyleDropDownId = "vn_1025";


// A style can only be chosen for, and shown from, a presentation in a window.
bool presentationShown() { return hostApplication().Windows().Count() >= 1; }

}  // namespace

void Connect::onLoad(host::IRibbonUI* ribbon) {
    thumbnails_ = readThumbnailSettings();
    slideWizardThumbsBuilt_ = false;
    state().ribbon = ribbon;
    loadMenuFile(kRibbonMenuFileLead);
    loadCopyrightLines();
    loadMyElementsIndex();
}

std::int16_t Connect::style_getItemCount(const host::IRibbonControl&) {
    const AddInState& s = state();
    if (!s.menuDocument) return 0;
    return static_cast<std::int16_t>(s.styleNames.Count() + 1);
}

std::string Connect::style_getItemLabel(const host::IRibbonControl&, int index) {
    const AddInState& s = state();
    if (!s.menuDocument) return {};
    if (index == 0) return kNoStyleLabel;
    return s.styleNames.Item(index);
}

void Connect::style_onAction(const host::IRibbonControl&, const std::string&, int selectedIndex) {
    AddInState& s = state();
    if (!presentationShown()) {
        // Nothing to keep the choice in: show the unchanged selection again.
        if (s.ribbon) s.ribbon->InvalidateControl(kStyleDropDownId);
        return;
    }
    host::Tags& tags = hostApplication().ActivePresentation()->Tags();
    if (selectedIndex == 0) {
        s.currentStyle.clear();
        tags.Delete(kStyleTag);
    } else {
        const std::string name = s.styleNames.Item(selectedIndex);
        s.currentStyle = name;
        tags.Add(kStyleTag, name);
    }
}

std::int16_t Connect::style_getSelectedItemIndex(const host::IRibbonControl&) {
    AddInState& s = state();
    // Without a menu document onLoad has told the user already; the host asks often.
    if (!presentationShown() || !s.menuDocument) return 0;
    if (const int k = stylePosition(s.currentStyle); k > 0) return static_cast<std::int16_t>(k);
    if (s.styleNames.Count() == 0) return 0;
    s.currentStyle = s.styleNames.Item(1);
    return 1;
}

const std::vector<RibbonCallback> kStyleCallbacks = {
    {"style_getItemCount", [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs&) -> host::RibbonValue {
         return static_cast<int>(c.style_getItemCount(ctl));
     }},
    {"style_getItemLabel", [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs& a) -> host::RibbonValue {
         return c.style_getItemLabel(ctl, ribbonInt(a, 0));
     }},
    {"style_onAction", [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs& a) -> host::RibbonValue {
         c.style_onAction(ctl, ribbonText(a, 0), ribbonInt(a, 1));
         return {};
     }},
    {"style_getSelectedItemIndex",
     [](Connect& c, const host::IRibbonControl& ctl, const RibbonArgs&) -> host::RibbonValue {
         return static_cast<int>(c.style_getSelectedItemIndex(ctl));
     }},
};

}  // namespace core
