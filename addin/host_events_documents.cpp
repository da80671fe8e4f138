// pptEvents: the document events. Opening and closing switch the presentation entries,
// saving and printing keep the agenda and the style tag in step, slide shows keep the
// screensaver away when the user asked for it, and window activation picks up the style.
#include <string>

#include "addin/addin_state.h"
#include "addin/agenda_upkeep.h"
#include "addin/bar_front_end.h"
#include "addin/host_events.h"
#include "core/errors.h"
#include "core/folders.h"
#include "core/host_version.h"
#include "core/icons.h"
#include "platform/ui_driver.h"

namespace plorin {

namespace {

constexpr const char* kTitle = "Varnotel for presentations";
constexpr int kConfirm = platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2;

constexpr const char* kSlideOrderTag = "plorin_slideOrder";
constexpr const char* kStyleTag = "plorin_style";

// Each slide's id followed by ";", in slide order: what the agenda's page numbers were made for.
std::string slideOrder(host::Presentation& pres) {
    std::string order;
    for (const auto& slide : pres.Slides().all()) order += std::to_string(slide->SlideID()) + ";";
    return order;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

bool pptEvents::askToUpdatePageNumbers() {
    return platform::MsgBox(
               "The page numbers on your agenda slides need to be updated.\r\n"
               "Would you like to update the page numbers now?",
               kConfirm, kTitle) == platform::vbYes;
}

void pptEvents::NewPresentation(host::Presentation&) {
    trap("pptEvents, pptApp_NewPresentation", [&] {
        if (app().Presentations().Count() == 1) togglePresentation(true);
        toggleWindow(app().Windows().Count() > 0);
    });
}

void pptEvents::PresentationOpen(host::Presentation&) {
    trap("pptEvents, pptApp_PresentationOpen", [&] {
        if (app().Presentations().Count() == 1) togglePresentation(true);
        toggleWindow(app().Windows().Count() > 0);
    });
}

void pptEvents::PresentationClose(host::Presentation&) {
    trap("pptEvents, pptApp_PresentationClose", [&] {
        // The closing presentation still counts: one means none is left afterwards.
        if (app().Presentations().Count() == 1) {
            toggleOff();
            togglePresentation(false);
        }
    });
}

void pptEvents::PresentationBeforeSave(host::Presentation& pres, bool& cancel) {
    trap("pptEvents, pptApp_PresentationBeforeSave", [&] {
        // A slide extract's temporary copy is saved without warnings, questions or changes.
        if (state().extracting) return;
        const std::string name = pres.FullName();

        const std::string cache = getInternetCachePath();
        const std::string temp = getTmpPath();
        if ((startsWith(name, cache) || startsWith(name, temp)) && !pres.ReadOnly() && name != lastSavedName_)
            platform::MsgBox(
                "Caution! This presentation is being saved in a temporary folder.\r\n"
                "Data in this folder may be deleted or overwritten inadvertently.",
                platform::vbOKOnly | platform::vbExclamation, kTitle);

        int agendaSlides = 0;
        std::string hiddenOn;
        for (const auto& slide : pres.Slides().all()) {
            if (slide->Tags().Item("plorin_agendaWizard") == "agendaSlide") ++agendaSlides;
            if (slide->Tags().Item("plorin_hiddenShapes") == "1")
                hiddenOn += std::to_string(slide->SlideIndex()) + ", ";
        }
        host::Tags& tags = pres.Tags();
        // Without agenda slides no page number can be stale: the slide order goes, so that no
        // save asks about it. The stored agenda stays: the user disconnected or deleted its
        // slides, not the agenda, and the Agenda Wizard opens on it and makes them again.
        if (agendaSlides == 0) tags.Delete(kSlideOrderTag);
        const std::string savedOrder = tags.Item(kSlideOrderTag);
        if (!savedOrder.empty() && savedOrder != slideOrder(pres) && askToUpdatePageNumbers())
            agendaUpdatePagenumbers();

        if (!hiddenOn.empty()) {
            hiddenOn.resize(hiddenOn.size() - 2);
            const int answer = platform::MsgBox(
                "There are hidden shapes on slides " + hiddenOn +
                    ".\r\n"
                    "Please ensure the hidden shapes do not contain any confidential information before sharing the "
                    "presentation.\r\n"
                    "Would you like to save the presentation with hidden shapes now?",
                kConfirm, kTitle);
            if (answer == platform::vbNo) cancel = true;
        }
        if (cancel) return;

        // The current style is the active window's; another presentation saved meanwhile
        // (a background save, a copy) keeps its own.
        SharedState& s = state();
        const bool active = app().Windows().Count() > 0 && &app().ActiveWindow()->Presentation() == &pres;
        if (active && !s.currentStyle.empty() && s.currentStyle != tags.Item(kStyleTag))
            tags.Add(kStyleTag, s.currentStyle);
        lastSavedName_ = name;
    });
}

void pptEvents::PresentationPrint(host::Presentation& pres) {
    trap("pptEvents, pptApp_PresentationPrint", [&] {
        const std::string savedOrder = pres.Tags().Item(kSlideOrderTag);
        if (!savedOrder.empty() && savedOrder != slideOrder(pres) && askToUpdatePageNumbers()) regenerateAgendaSlides();
    });
}

void pptEvents::SlideShowBegin() {
    trap("pptEvents, pptApp_SlideShowBegin", [&] {
        if (state().screenSaverOff) Icons().screensaverTimer.setEnabled(true);
    });
}

void pptEvents::SlideShowEnd() {
    trap("pptEvents, pptApp_SlideShowEnd", [&] {
        if (state().screenSaverOff) Icons().screensaverTimer.setEnabled(false);
    });
}

void pptEvents::WindowActivate(host::Presentation& pres, host::DocumentWindow&) {
    trap("pptEvents, pptApp_WindowActivate", [&] {
        SharedState& s = state();
        AddInState& a = addInState();
        s.currentStyle = pres.Tags().Item(kStyleTag);
        if (isHostVersion(kCommandBarHosts) && a.controls) a.controls->setStyle(s.currentStyle);
    });
}

}  // namespace plorin
