// Black-and-white modes of slide backgrounds and shapes, for a selection or a presentation.
#include "tools/black_white_mode.h"

#include "core/errors.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "platform/ui_driver.h"
#include "tools/efficiency_tools.h"

namespace plorin {

// "White" where the list has long read "While": the entry sets the white mode.
const std::array<const char*, 10> kBlackWhiteModeNames = {
    "Automatic",
    "Grayscale",
    "Light Grayscale",
    "Inverse Grayscale",
    "Gray with White Fill",
    "Black with Grayscale Fill",
    "Black with White Fill",
    "Black",
    "White",
    "Don't show",
};

namespace {

void inform(const std::string& text) { platform::MsgBox(text, platform::vbInformation, kProductName); }

void setSlide(host::Slide& slide, int back, int shapes) {
    slide.Background().setBlackWhiteMode(back);
    for (const auto& shape : slide.Shapes().all()) shape->setBlackWhiteMode(shapes);
}

}  // namespace

BlackWhiteMode::BlackWhiteMode() : platform::Form("BlackWhiteMode") {
    Caption = "Set black and white mode";
    Label1.Caption = "Set all selected slides and shapes to the specified black and white mode";
    lBack.Caption = "Slide background";
    lShapes.Caption = "Shapes";
    btnOK.Caption = "&OK";
    btnOK.Default = true;
    btnCancel.Caption = "&Cancel";
    btnCancel.Cancel = true;
    btnOK.onClick = [this] { btnOK_Click(); };
    btnCancel.onClick = [this] { btnCancel_Click(); };
}

void BlackWhiteMode::Form_Load() {
    trap("BlackWhiteMode, Form_Load", [&] {
        for (auto* list : {&cbBack, &cbShapes}) {
            list->Clear();
            for (const char* name : kBlackWhiteModeNames) list->AddItem(name);
            list->setListIndex(1);
        }
    });
}

void BlackWhiteMode::btnOK_Click() {
    trap("BlackWhiteMode, btnOK_Click", [&] {
        const int back = cbBack.ListIndex() + 1, shapes = cbShapes.ListIndex() + 1;
        const std::string backName = cbBack.Text(), shapesName = cbShapes.Text();
        auto window = hostApplication().ActiveWindow();
        if (!window) raiseObjectNotSet();
        host::Selection& selection = window->Selection();
        switch (selection.Type()) {
            case host::ppSelectionSlides: {
                const host::SlideRange slides = selection.SlideRange();
                for (const auto& slide : slides.all()) setSlide(*slide, back, shapes);
                inform("The background of all selected slides in your presentation has been set to '" + backName +
                       "' mode, all shapes on the selected slides have been set to '" + shapesName + "' mode.");
                break;
            }
            case host::ppSelectionShapes:
                selection.ShapeRange().setBlackWhiteMode(shapes);
                inform("All selected shapes have been set to '" + shapesName + "' mode.");
                break;
            case host::ppSelectionNone:
            case host::ppSelectionText:
                for (const auto& slide : window->Presentation().Slides().all()) setSlide(*slide, back, shapes);
                inform("The background of all slides in your presentation has been set to '" + backName +
                       "' mode, all shapes have been set to '" + shapesName + "' mode.");
                break;
            default: break;
        }
    });
    Unload();
}

void BlackWhiteMode::btnCancel_Click() { Unload(); }

void EfficiencyTools::setBlackWhiteMode() {
    trap("EfficiencyTools, setBlackWhiteMode", [&] {
        host::Application& app = hostApplication();
        if (app.Windows().Count() == 0) {
            inform("Please open a presentation first.");
            return;
        }
        const int type = app.ActiveWindow()->Selection().Type();
        if (type == host::ppSelectionNone || type == host::ppSelectionText) {
            const int answer = platform::MsgBox(
                "You have not selected any slides or shapes.\r\nWould you like to apply the black and white settings "
                "to the entire presentation instead?",
                platform::vbOKCancel | platform::vbQuestion, kProductName);
            if (answer == platform::vbCancel) return;
        }
        BlackWhiteMode dialog;
        dialog.Show(true);
        dialog.Unload();
    });
}

}  // namespace plorin
