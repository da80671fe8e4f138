// The Agenda Wizard's entry points among the tools: the dialog does the agenda's work.
#include "agenda/agenda_wizard.h"
#include "agenda/agenda_document.h"
#include "agenda/agenda_generator.h"
#include "core/errors.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "tools/efficiency_tools.h"
#include "platform/ui_driver.h"

namespace plorin {

namespace {

void information(const std::string& text) { platform::MsgBox(text, platform::vbInformation, kProductName); }

// The commands work on the active window's presentation: without one they say so, as the
// agenda dialog does, before asking anything.
bool havePresentationWindow() {
    if (hostApplication().Windows().Count() > 0) return true;
    information("Please open a presentation first.");
    return false;
}

}  // namespace

void EfficiencyTools::showAgendaWizard() {
    trap("EfficiencyTools, showAgendaWizard", [&] {
        AgendaWizard wizard;
        wizard.Show(true);
        wizard.Unload();
    });
}

void EfficiencyTools::agendaUpdatePagenumbers() {
    trap("EfficiencyTools, agendaUpdatePagenumbers", [&] {
        if (!havePresentationWindow()) return;
        // Without an agenda there are no page numbers to update: the dialog would start one
        // from the style's template and generate its slides.
        if (hostApplication().ActivePresentation()->Tags().Item(kAgendaXmlTag).empty()) {
            information("There is no agenda to update in this presentation.");
            return;
        }
        AgendaWizard wizard;
        wizard.Load();
        wizard.OK();
        wizard.Unload();
    });
}

void EfficiencyTools::disconnectAgendaSlides() {
    trap("EfficiencyTools, disconnectAgendaSlides", [&] {
        if (!havePresentationWindow()) return;
        const int answer = platform::MsgBox(
            "If you disconnect agenda slides from the Agenda Wizard, the Agenda Wizard will not update or remove these "
            "slides in the future.\r\n\r\nAre you sure you want to disconnect the selected agenda slides from the "
            "Agenda Wizard?",
            platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2, kProductName);
        if (answer != platform::vbYes) return;
        const host::SlideRange slides = hostApplication().ActiveWindow()->Selection().SlideRange();
        if (slides.Count() == 0) raiseObjectNotSet("SlideRange");
        for (int i = 1; i <= slides.Count(); ++i) {
            const auto slide = slides.Item(i);
            if (slide->Tags().Item(kRoleTag) != kAgendaSlideRole) continue;
            slide->Tags().Delete(kRoleTag);
            slide->Tags().Delete(kSlideIdTag);
            for (const auto& shape : slide->Shapes().all()) {
                shape->Tags().Delete(kRoleTag);
                shape->Tags().Delete(kContentTag);
                shape->Tags().Delete(kPropertiesTag);
            }
        }
    });
}

using E = EfficiencyTools;
const std::vector<EfficiencyTools::MethodEntry> kAgendaMethods = {
    {"showAgendaWizard", &E::showAgendaWizard, nullptr},
    {"agendaUpdatePagenumbers", &E::agendaUpdatePagenumbers, nullptr},
    {"disconnectAgendaSlides", &E::disconnectAgendaSlides, nullptr},
};

}  // namespace plorin
