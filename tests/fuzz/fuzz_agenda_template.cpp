// A style's agenda template, as a customizer writes it: a presentation without an agenda
// starts from it (the dialog reads it, renews the items' identifiers and OK draws the
// slides), and an agenda of another style takes its layout when the user picks the style.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "agenda/agenda_wizard.h"
#include "tests/fuzz/agenda_host.h"

namespace {

void openAndGenerate(bool switchStyle) {
    plorin::AgendaWizard wizard;
    wizard.Load();
    if (!wizard.failed()) {
        if (switchStyle) {
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
    auto& world = fuzzing::AgendaHost::get();
    world.writeTemplate(std::string_view(reinterpret_cast<const char*>(data), size));
    {
        auto fresh = world.deck();
        openAndGenerate(false);
    }
    world.reset();
    {
        auto stored = world.deck();
        stored->Tags().Add(plorin::kAgendaXmlTag, fuzzing::kSampleAgenda);
        stored->Tags().Add(plorin::kAgendaStyleTag, "Blue");
        openAndGenerate(true);
    }
    world.reset();
    return 0;
}
