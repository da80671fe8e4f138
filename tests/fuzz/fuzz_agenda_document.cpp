// The agenda a presentation carries in its tag: the agenda dialog opens on it (reading the
// options, every item and the tree), and OK measures and draws the agenda slides from it and
// stores it back.
#include <string>

#include "agenda/agenda_wizard.h"
#include "agenda_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::AddInHarness harness;
    auto& app = harness.begin();
    const std::string stored(fuzz::bytesOf(data, size));
    {
        auto deck = fuzz::agendaDeck(app, stored);
        plorin::AgendaWizard wizard;
        wizard.Load();
        if (!wizard.failed()) {
            wizard.tvItems_NodeClick();
            wizard.OK();
        }
        wizard.Unload();
    }
    fuzz::closeDecks(app);
    return 0;
}
