// pptEvents: the toggle family, which enables and disables the Efficiency Tools bar's
// controls by caption, and the pressed state of the two text buttons.
#include "addin/host_events.h"

#include "core/errors.h"
#include "core/host_version.h"
#include "host/command_bars.h"
#include "host/text.h"

namespace plorin {

namespace {

template <class T>
T& as(const std::shared_ptr<host::CommandBarControl>& control) {
    auto* typed = dynamic_cast<T*>(control.get());
    if (!typed) raiseError(errTypeMismatch, "Type mismatch");
    return *typed;
}

}  // namespace

void pptEvents::applyToggle(Toggle which, bool enabled) {
    const ToggleGroup& group = toggleGroup(which);
    trap(std::string("pptEvents, ") + group.procedure, [&] {
        for (const char* caption : group.buttons) toggleButton(kEfficiencyToolsBar, caption, enabled);
        for (const char* caption : group.entries) togglePopupEntry(kEfficiencyToolsBar, kToolsPopup, caption, enabled);
        if (group.toolIds.empty() || !isHostVersion(kCommandBarHosts)) return;
        for (const auto& control : app().CommandBars().Item(kEfficiencyToolsBar)->Controls().all())
            for (int id : group.toolIds)
                if (control->HelpContextId() == id) control->setEnabled(enabled);
    });
}

void pptEvents::toggleButton(const std::string& barName, const std::string& caption, bool enabled) {
    trap("pptEvents, toggleButton", [&] {
        if (!isHostVersion(kCommandBarHosts)) return;
        app().CommandBars().Item(barName)->Controls().Item(caption)->setEnabled(enabled);
    });
}

void pptEvents::togglePopupEntry(const std::string& barName, const std::string& popupName, const std::string& caption,
                                 bool enabled) {
    trap("pptEvents, togglePopupEntry (", [&] {
        if (!isHostVersion(kCommandBarHosts)) return;
        auto& popup = as<host::CommandBarPopup>(app().CommandBars().Item(barName)->Controls().Item(popupName));
        popup.Controls().Item(caption)->setEnabled(enabled);
    });
}

void pptEvents::toggleAutoShapeTextState(host::Selection& selection) {
    trap("pptEvents, toggleAutoShapeTextState", [&] {
        auto& controls = app().CommandBars().Item(kEfficiencyToolsBar)->Controls();
        auto& fit = as<host::CommandBarButton>(controls.Item(kFitButton));
        auto& wrap = as<host::CommandBarButton>(controls.Item(kWrapButton));
        auto bothUp = [&] {
            fit.setState(host::msoButtonUp);
            wrap.setState(host::msoButtonUp);
        };
        const int view = paneViewOf(selection);
        if (view != host::ppViewSlide && view != host::ppViewSlideMaster && view != host::ppViewTitleMaster)
            return bothUp();
        const int type = selection.Type();
        if (type == host::ppSelectionNone || type == host::ppSelectionSlides) return bothUp();
        if (type != host::ppSelectionShapes && type != host::ppSelectionText) return;

        const host::ShapeRange range = selection.ShapeRange();
        if (range.HasTextFrame() == host::msoFalse) return bothUp();
        const host::TextFrame frame = range.TextFrame();
        switch (frame.AutoSize()) {
            case host::ppAutoSizeMixed: fit.setState(host::msoButtonMixed); break;
            case host::ppAutoSizeNone: fit.setState(host::msoButtonUp); break;
            case host::ppAutoSizeShapeToFitText: fit.setState(host::msoButtonDown); break;
            default: break;
        }
        switch (frame.WordWrap()) {
            case host::msoTriStateMixed: wrap.setState(host::msoButtonMixed); break;
            case host::msoTrue: wrap.setState(host::msoButtonDown); break;
            case host::msoFalse: wrap.setState(host::msoButtonUp); break;
            default: break;
        }
    });
}

}  // namespace plorin
