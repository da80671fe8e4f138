#include "core/agenda_seams.h"

namespace core {

AgendaRequests& agendaRequests() {
    static AgendaRequests requests;
    return requests;
}

void agendaUpdatePagenumbers() { ++agendaRequests().updatePagenumbers; }

void regenerateAgendaSlides() { ++agendaRequests().regenerateSlides; }

}  // namespace core
