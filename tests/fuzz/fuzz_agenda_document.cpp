// The agenda a presentation carries in its tag: the agenda dialog opens on it (reading the
// options, every item and the tree), OK measures and draws the agenda slides from it and
// stores it back, and the save check asks whether it wants slides at all.
#include <cstddef>
#include <cstdint>
#include <string>

#include "addin/agenda_seams.h"
#include "agenda/agenda_wizard.h"
#include "tests/fuzz/agenda_host.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& world = fuzzing::AgendaHost::get();
    const std::string stored(reinterpret_cast<const char*>(data), size);
    {
        auto deck = world.deck();
        deck->Tags().Add(plorin::kAgendaXmlTag, stored);
        deck->Tags().Add(plorin::kAgendaStyleTag, "Blue");
        plorin::agendaWantsSlides(stored);

        plorin::AgendaWizard wizard;
        wizard.Load();
        if (!wizard.failed()) {
            wizard.tvItems_NodeClick();
            wizard.OK();
        }
        wizard.Unload();
    }
    world.reset();
    return 0;
}
