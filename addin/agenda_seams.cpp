#include "addin/agenda_seams.h"

#include "platform/xml_dom.h"
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

bool agendaWantsSlides(const std::string& storedAgenda) {
    platform::DomDocument doc;
    if (!doc.loadXML(storedAgenda) || !doc.selectSingleNode("/Varnotel/agenda")) return true;
    return static_cast<bool>(doc.selectSingleNode("/Varnotel/agenda/items/item[@generateAgendaSlide='1']"));
}

}  // namespace plorin
