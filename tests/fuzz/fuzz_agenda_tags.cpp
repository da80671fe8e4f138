// The tags the agenda leaves in a presentation besides its document: the slide order its
// page numbers were made for (read when the presentation is saved or printed) and each
// generated shape's position and size (read when the dialog opens, to warn about shapes
// moved by hand). The input is the slide order, then one properties tag per shape, each
// after a NUL.
#include <string>
#include <vector>

#include "agenda/agenda_generator.h"
#include "agenda/agenda_wizard.h"
#include "agenda_harness.h"
#include "host/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::AddInHarness harness;
    auto& app = harness.begin();
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) parts.emplace_back();
        else parts.back() += static_cast<char>(data[i]);
    }
    {
        auto deck = fuzz::agendaDeck(app, fuzz::kSampleAgenda);
        deck->Tags().Add(plorin::kSlideOrderTag, parts[0]);
        auto slide = deck->Slides().Item(2);
        slide->Tags().Add(plorin::kRoleTag, plorin::kAgendaSlideRole);
        slide->Tags().Add(plorin::kSlideIdTag, "s_1");
        const char* roles[] = {"title", "box", "bar"};
        for (std::size_t i = 1; i < parts.size() && i <= 8; ++i) {
            auto shape = slide->Shapes().AddShape(host::msoShapeRectangle, 36.5f * static_cast<float>(i), 126, 648, 40);
            const std::string text = "Item " + std::to_string(i);
            shape->TextFrame().TextRange().setText(text);
            shape->Tags().Add(plorin::kRoleTag, roles[i % 3]);
            shape->Tags().Add(plorin::kContentTag, "/" + text);
            shape->Tags().Add(plorin::kPropertiesTag, parts[i]);
        }

        plorin::AgendaWizard wizard;
        wizard.Load();
        wizard.Unload();
        deck->SaveAs(harness.root() + "tmp/tags.ppt");
        app.printPresentation(*deck);
    }
    fuzz::closeDecks(app);
    return 0;
}
