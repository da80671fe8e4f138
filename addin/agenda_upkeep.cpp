#include "addin/agenda_upkeep.h"

#include "agenda/agenda_document.h"
#include "agenda/agenda_run.h"
#include "core/errors.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "platform/ui_driver.h"

namespace plorin {

namespace {
void information(const std::string& text) { platform::MsgBox(text, platform::vbInformation, kProductName); }
}  // namespace

bool havePresentationWindow() {
    if (hostApplication().Windows().Count() > 0) return true;
    information("Please open a presentation first.");
    return false;
}

void agendaUpdatePagenumbers() {
    trap("EfficiencyTools, agendaUpdatePagenumbers", [&] {
        if (!havePresentationWindow()) return;
        // Without an agenda there are no page numbers to update: the dialog would start one
        // from the style's template and generate its slides.
        if (hostApplication().ActivePresentation()->Tags().Item(kAgendaXmlTag).empty()) {
            information("There is no agenda to update in this presentation.");
            return;
        }
        regenerateStoredAgenda();
    });
}

void regenerateAgendaSlides() { agendaUpdatePagenumbers(); }

}  // namespace plorin
