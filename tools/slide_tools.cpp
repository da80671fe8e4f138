// One-click commands on slides and animations: paste onto the selected slides, empty the
// speaker notes, and a straight motion path from one shape to another.
#include <charconv>
#include <cmath>
#include <string>

#include "core/errors.h"
#include "core/host_version.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "host/command_bars.h"
#include "host/host.h"
#include "host/text.h"
#include "host/timeline.h"
#include "platform/ui_driver.h"
#include "tools/efficiency_tools.h"

namespace plorin {

namespace {
constexpr int kBodyPlaceholder = 2;
constexpr int kMotionPathEffect = 120;
constexpr int kCustomAnimationControl = 730;  // the host's "Custom Animation..." command
}  // namespace

std::string EfficiencyTools::motionPathNumber(double value) {
    // Path syntax wants a plain decimal with "." whatever the user's locale, never an
    // exponent; six places are far finer than a pixel of the slide.
    if (!std::isfinite(value)) raiseError(errOverflow, "Overflow");
    char text[64];
    auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    if (ec != std::errc()) raiseError(errOverflow, "Overflow");
    std::string s(text, end);
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

void EfficiencyTools::pasteOnSelectedSlides() {
    // The outer trap also catches a failing message box, so nothing leaves the command.
    trap("EfficiencyTools, pasteOnSelectedSlides", [&] {
        try {
            host::DocumentWindow& window = *hostApplication().ActiveWindow();
            const host::SlideRange slides = window.Selection().SlideRange();
            const int viewType = window.ViewType();
            int pane = 1;
            for (int i = 1; i <= window.Panes().Count(); ++i)
                if (window.Panes().Item(i).Active()) pane = i;
            window.setViewType(host::ppViewNormal);
            window.Panes().Item(2).Activate();
            for (const auto& slide : slides.all()) {
                window.View().GotoSlide(slide->SlideIndex());
                window.View().Paste();
            }
            window.setViewType(viewType);
            // The pane the user worked in too: a paste started from the thumbnails ends there.
            if (pane <= window.Panes().Count()) window.Panes().Item(pane).Activate();
        } catch (...) {
            if (currentError().Number != host::PP_E_INVALIDREQUEST) throw;
            platform::MsgBox(
                "The clipboard is empty. Please copy the contents you would like to paste on the "
                "selected slides to the clipboard first.",
                platform::vbCritical, kProductName);
        }
    });
}

void EfficiencyTools::removeAllSpeechNotes() {
    trap("EfficiencyTools, removeAllSpeechNotes", [&] {
        const int answer = platform::MsgBox(
            "This will permanently remove all speech notes from the presentation.\r\n"
            "Please make sure you have a backup copy!\r\nAre you sure you want to proceed?",
            platform::vbYesNo | platform::vbExclamation | platform::vbDefaultButton2, kProductName);
        if (answer != platform::vbYes) return;
        auto presentation = hostApplication().ActivePresentation();
        for (const auto& slide : presentation->Slides().all()) {
            host::Shapes& notes = slide->NotesPage().Item(1)->Shapes();
            const host::ShapeRange placeholders = notes.Placeholders();
            for (const auto& placeholder : placeholders.all())
                if (placeholder->PlaceholderFormatType() == kBodyPlaceholder)
                    placeholder->TextFrame().TextRange().setText("");
        }
    });
}

void EfficiencyTools::createMotionPath() {
    trap("EfficiencyTools, createMotionPath", [&] {
        host::DocumentWindow& window = *hostApplication().ActiveWindow();
        const double w = window.Presentation().SlideWidth();
        const double h = window.Presentation().SlideHeight();
        const host::ShapeRange range = window.Selection().ShapeRange();
        const auto first = range.Item(1);
        const auto second = range.Item(2);
        const VisualBox a = getRotatedMetrics(*first);
        const VisualBox b = getRotatedMetrics(*second);
        const double dx = ((b.left + b.width * 0.5) - (a.left + a.width * 0.5)) / w;
        const double dy = ((b.top + b.height * 0.5) - (a.top + a.height * 0.5)) / h;
        const std::string path = "M 0 0 L " + motionPathNumber(dx) + " " + motionPathNumber(dy);

        auto slide = window.Selection().SlideRange().Item(1);
        auto effect = slide->TimeLine().MainSequence().AddEffect(first, kMotionPathEffect, 0,
                                                                 host::msoAnimTriggerOnPageClick, -1);
        auto behavior = effect->AddBehavior(host::msoAnimTypeMotion, -1);
        behavior->MotionEffect().Path = path;
        behavior->Timing().SmoothStart = true;
        behavior->Timing().SmoothEnd = true;
        effect->Behavior(1)->Delete();

        ignoreErrors([&] {
            // The animation pane: the command-bar hosts open it through their own control.
            host::CommandBars& bars = hostApplication().CommandBars();
            if (isHostVersion(kCommandBarHosts)) {
                if (auto control = bars.FindControl(kCustomAnimationControl)) control->Execute();
            } else bars.Item("Custom Animation")->setVisible(true);
        });
    });
}

using E = EfficiencyTools;
const std::vector<EfficiencyTools::MethodEntry> kSlideToolMethods = {
    {"pasteOnSelectedSlides", &E::pasteOnSelectedSlides, nullptr},
    {"removeAllSpeechNotes", &E::removeAllSpeechNotes, nullptr},
    {"createMotionPath", &E::createMotionPath, nullptr},
};

}  // namespace plorin
