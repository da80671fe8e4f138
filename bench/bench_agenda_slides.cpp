// Generating agenda slides: every item that asks gets a slide showing every row, so a run
// draws items x items rows. Regenerating the slides of an agenda of 30 items should take
// under 100 ms, and the cost per drawn row should stay the same for 10, 30 and 100 items.
#include <benchmark/benchmark.h>

#include <string>

#include "agenda/agenda_document.h"
#include "agenda/agenda_run.h"
#include "core/errors.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "platform/ui_driver.h"
#include "platform/xml_dom.h"

namespace {

// The sample style's template with `count` items, every one with a slide.
std::string agendaOf(int count) {
    platform::DomDocument doc;
    if (!doc.load(VARNOTEL_STAGE "/customization/styles/corporate_blue/agendawizard.xml")) return {};
    platform::DomNode items = doc.selectSingleNode("/Varnotel/agenda/items");
    while (items.hasChildNodes()) items.removeChild(items.firstChild());
    for (int i = 0; i < count; ++i) {
        platform::DomNode item = plorin::newAgendaItem(
            doc, "s_" + std::to_string(100000000 + i) + "-0000-0000-0000-000000000000", i % 4 == 0 ? 1 : 2);
        item.setAttribute("text", "Agenda item number " + std::to_string(i));
        item.setAttribute("responsible", "Team " + std::to_string(i % 7));
        item.setAttribute("duration", std::to_string(5 + i % 30));
        items.appendChild(item);
    }
    return doc.xml();
}

void BM_agendaSlidesRegenerate(benchmark::State& state) {
    platform::ScriptedDriver driver;
    driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    platform::ScopedUiDriver scoped(driver);
    host::Application app("14.0");
    plorin::state().application = &app;
    auto presentation = app.Presentations().Add();
    presentation->Slides().Add(1, 1);
    const int count = static_cast<int>(state.range(0));
    presentation->Tags().Add(plorin::kAgendaXmlTag, agendaOf(count));
    plorin::regenerateStoredAgenda();  // creates the slides
    // What a save does: the stored agenda's slides drawn again, without the dialog.
    for (auto _ : state) plorin::regenerateStoredAgenda();
    if (presentation->Slides().Count() != count + 1 || !plorin::reportedErrors().empty())
        state.SkipWithError("the agenda slides were not generated");
    plorin::state().application = nullptr;
    state.SetItemsProcessed(state.iterations() * count * count);  // rows drawn
    state.SetComplexityN(static_cast<std::int64_t>(count) * count);
}

BENCHMARK(BM_agendaSlidesRegenerate)
    ->Arg(10)
    ->Arg(30)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
