// A failure in these callbacks goes back to the host, which keeps what it showed.
#include "libraries/styles.h"

#include "core/errors.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "libraries/menu_file.h"
#include "libraries/thumbnails.h"

namespace plorin {

namespace {

constexpr const char* kStyleDropDownId = "vn_1025";

// A style can only be chosen for, and shown from, a presentation in a window.
bool presentationShown() { return hostApplication().Windows().Count() >= 1; }

}  // namespace

void libraries_onLoad(host::IRibbonUI* ribbon) {
    galleryThumbnails() = {readThumbnailSettings(), false};
    state().ribbon = ribbon;
    loadMenuFile(kRibbonMenuFileLead);
    loadCopyrightLines();
    loadMyElementsIndex();
}

std::int16_t style_getItemCount(const host::IRibbonControl&) {
    const SharedState& s = state();
    if (!s.menuDocument) return 0;
    return static_cast<std::int16_t>(s.styleNames.Count() + 1);
}

std::string style_getItemLabel(const host::IRibbonControl&, int index) {
    const SharedState& s = state();
    if (!s.menuDocument) return {};
    if (index == 0) return kNoStyleLabel;
    return s.styleNames.Item(index);
}

void style_onAction(const host::IRibbonControl&, const std::string&, int selectedIndex) {
    SharedState& s = state();
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

std::int16_t style_getSelectedItemIndex(const host::IRibbonControl&) {
    SharedState& s = state();
    // Without a menu document onLoad has told the user already; the host asks often.
    if (!presentationShown() || !s.menuDocument) return 0;
    if (const int k = stylePosition(s.currentStyle); k > 0) return static_cast<std::int16_t>(k);
    if (s.styleNames.Count() == 0) return 0;
    s.currentStyle = s.styleNames.Item(1);
    return 1;
}

}  // namespace plorin
