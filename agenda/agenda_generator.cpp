#include "agenda/agenda_generator.h"

#include "agenda/agenda_wizard.h"
#include "core/errors.h"
#include "core/whole_numbers.h"
#include "host/host.h"

namespace plorin {

AgendaGeneratorCalls& agendaGeneratorCalls() {
    static AgendaGeneratorCalls calls;
    return calls;
}

std::shared_ptr<host::Slide> findSlide(host::Presentation& presentation, const std::string& slideId) {
    std::shared_ptr<host::Slide> found;
    trap("AgendaWizard, findSlide", [&] {
        if (slideId.size() < 36) {
            ignoreErrors([&] { found = presentation.Slides().FindBySlideID(toInteger32(slideId)); });
            return;
        }
        for (const auto& slide : presentation.Slides().all()) {
            if (slide->Tags().Item("plorin_slideID") == slideId) {
                found = slide;
                return;
            }
        }
    });
    return found;
}

int calculateMetrics(AgendaWizard& form) {
    ++agendaGeneratorCalls().calculateMetrics;
    const platform::DomDocument* doc = form.agendaDocument();
    return doc ? doc->selectNodes("/Varnotel/agenda/items/item[@showAgendaItem='1']").length() : 0;
}

void createAgendaSlides(AgendaWizard& form) {
    ++agendaGeneratorCalls().createAgendaSlides;
    agendaGeneratorCalls().obsoleteSlides = form.obsoleteSlides();
}

int checkForManualChanges(AgendaWizard&) {
    ++agendaGeneratorCalls().checkForManualChanges;
    return agendaGeneratorCalls().manualChangesResult;
}

}  // namespace plorin
