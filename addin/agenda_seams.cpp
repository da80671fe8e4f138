#include "addin/agenda_seams.h"

namespace plorin {

AgendaRequests& agendaRequests() {
    static AgendaRequests requests;
    return requests;
}

void agendaUpdatePagenumbers() { ++agendaRequests().updatePagenumbers; }

void regenerateAgendaSlides() { ++agendaRequests().regenerateSlides; }

}  // namespace plorin
