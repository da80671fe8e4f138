// The Agenda Wizard's entry points among the tools: the dialog does the agenda's work.
#include "agenda/agenda_wizard.h"
#include "core/errors.h"
#include "tools/efficiency_tools.h"

namespace plorin {

void EfficiencyTools::showAgendaWizard() {
    trap("EfficiencyTools, showAgendaWizard", [&] {
        AgendaWizard wizard;
        wizard.Show(true);
        wizard.Unload();
    });
}

void EfficiencyTools::agendaUpdatePagenumbers() {
    trap("EfficiencyTools, agendaUpdatePagenumbers", [&] {
        AgendaWizard wizard;
        wizard.Load();
        wizard.OK();
        wizard.Unload();
    });
}

using E = EfficiencyTools;
const std::vector<EfficiencyTools::MethodEntry> kAgendaMethods = {
    {"showAgendaWizard", &E::showAgendaWizard, nullptr},
    {"agendaUpdatePagenumbers", &E::agendaUpdatePagenumbers, nullptr},
};

}  // namespace plorin
