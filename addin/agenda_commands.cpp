// The Agenda Wizard's commands: open its dialog, and detach agenda slides from the agenda.
#include "addin/agenda_upkeep.h"
#include "addin/named_commands.h"
#include "agenda/agenda_document.h"
#include "agenda/agenda_generator.h"
#include "agenda/agenda_wizard.h"
#include "core/errors.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "platform/ui_driver.h"

namespace plorin {

void showAgendaWizard() {
    trap("EfficiencyTools, showAgendaWizard", [&] {
        AgendaWizard wizard;
        wizard.Show(true);
        wizard.Unload();
    });
}

void disconnectAgendaSlides() {
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

const std::vector<AddinCommand> kAgendaCommands = {
    {"showAgendaWizard", &showAgendaWizard},
    {"agendaUpdatePagenumbers", &agendaUpdatePagenumbers},
    {"disconnectAgendaSlides", &disconnectAgendaSlides},
};

}  // namespace plorin
