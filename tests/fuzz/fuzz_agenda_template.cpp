// A style's agenda template, as a customizer writes it: a presentation without an agenda
// starts from it (the dialog reads it, renews the items' identifiers and OK draws the
// slides), and an agenda of another style takes its layout when the user picks the style.
#include <cstdio>
#include <set>
#include <string>

#include "agenda/agenda_wizard.h"
#include "agenda_harness.h"

namespace {

// One run of the dialog; whatever the template holds (a bad colour in every row style, a
// row style missing), drawing the rows gives the user at most one report of each kind, not
// one a row.
void openAndGenerate(bool pickStyle) {
    plorin::reportedErrors().clear();
    struct OneReportEach {
        ~OneReportEach() {
            std::set<std::string> seen;
            for (const auto& r : plorin::reportedErrors())
                if ((r.location == "AgendaWizard, addAgendaItem" || r.location == "AgendaWizard, setColor") &&
                    !seen.insert(r.location).second) {
                    std::fprintf(stderr, "report: %s: %s\n", r.location.c_str(), r.error.Description.c_str());
                    fuzz::fail("one agenda run reported the same kind of error twice");
                }
        }
    } check;
    plorin::AgendaWizard wizard;
    wizard.Load();
    if (!wizard.failed()) {
        if (pickStyle) {
            bool cancel = false;
            wizard.cbStyle_Validate(cancel);
        }
        wizard.tvItems_NodeClick();
        wizard.OK();
    }
    wizard.Unload();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::AddInHarness harness;
    auto& app = harness.begin();
    {
        std::ofstream out(fuzz::agendaTemplatePath(harness), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    {
        auto fresh = fuzz::agendaDeck(app);
        openAndGenerate(false);
    }
    fuzz::closeDecks(app);
    {
        auto stored = fuzz::agendaDeck(app, fuzz::kSampleAgenda);
        openAndGenerate(true);
    }
    fuzz::closeDecks(app);
    return 0;
}
