#include "addin/agenda_upkeep.h"

#include "tools/efficiency_tools.h"

namespace plorin {

void agendaUpdatePagenumbers() {
    EfficiencyTools().agendaUpdatePagenumbers();
}

void regenerateAgendaSlides() {
    EfficiencyTools().agendaUpdatePagenumbers();
}

}  // namespace plorin
