// Hiding selected shapes and showing a slide's shapes again. A slide with hidden shapes
// carries the tag "plorin_hiddenShapes", which the save check looks for.
#include "core/errors.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "platform/ui_driver.h"
#include "tools/efficiency_tools.h"

namespace plorin {

namespace {

constexpr const char* kHiddenShapesTag = "plorin_hiddenShapes";

// Runs step; the host's "invalid request" (no slide for an empty selection, say) only skips
// it, every other failure goes on to the caller.
template <class F>
void toleratingInvalidRequest(F&& step) {
    try {
        step();
    } catch (const host::HostError& e) {
        if (e.number() != host::PP_E_INVALIDREQUEST) throw;
    }
}

}  // namespace

void EfficiencyTools::hideShapes() {
    trap("EfficiencyTools, hideShapes", [&] {
        auto window = hostApplication().ActiveWindow();
        if (!window) raiseObjectNotSet();
        host::Selection& selection = window->Selection();
        const auto slide = selection.SlideRange().Item(1);
        const host::ShapeRange shapes = selection.ShapeRange();
        // The tag goes on only once something is hidden: a tag on a slide with nothing hidden
        // would hold up every later save with a needless question.
        if (shapes.Count() == 0) return;
        shapes.setVisible(host::msoFalse);
        slide->Tags().Add(kHiddenShapesTag, "1");
    });
}

void EfficiencyTools::unhideShapes() {
    trap("EfficiencyTools, unhideShapes", [&] {
        auto window = hostApplication().ActiveWindow();
        if (!window) raiseObjectNotSet();
        host::Selection& selection = window->Selection();
        std::vector<std::shared_ptr<host::Slide>> slides;
        switch (selection.Type()) {
            case host::ppSelectionNone:
                toleratingInvalidRequest([&] { slides.push_back(selection.SlideRange().Item(1)); });
                if (slides.empty()) {
                    platform::MsgBox(
                        "Nothing appropriate is currently selected. Please select the slides you would "
                        "like to unhide shapes on.",
                        platform::vbInformation, kProductName);
                    return;
                }
                break;
            case host::ppSelectionSlides: slides = selection.SlideRange().all(); break;
            case host::ppSelectionShapes:
            case host::ppSelectionText:
                toleratingInvalidRequest([&] { slides.push_back(selection.SlideRange().Item(1)); });
                break;
            default: break;
        }
        for (const auto& slide : slides) {
            toleratingInvalidRequest([&] { slide->Tags().Delete(kHiddenShapesTag); });
            for (const auto& shape : slide->Shapes().all())
                toleratingInvalidRequest([&] { shape->setVisible(host::msoTrue); });
        }
    });
}

}  // namespace plorin
