#include "addin/agenda_seams.h"

#include "tools/efficiency_tools.h"

namespace plorin {

AgendaRequests& agendaRequests() {
    static AgendaRequests requests;
    return requests;
}

void agendaUpdatePagenumbers() {
    ++agendaRequests().updatePagenumbers;
    EfficiencyTools().agendaUpdatePagenumbers();
}

void regenerateAgendaSlides() {
    ++agendaRequests().regenerateSlides;
    EfficiencyTools().agendaUpdatePagenumbers();
}

}  // namespace plorin
