// The agenda dialog on long agendas: loading a stored agenda, showing it in the tree and
// writing it back on OK should cost the same per item for 30, 300 or 3,000 items (items
// without slides: generating them is measured on its own below).
#include <benchmark/benchmark.h>

#include <string>

#include "agenda/agenda_document.h"
#include "agenda/agenda_wizard.h"
#include "core/errors.h"
#include "core/shared_state.h"
#include "host/host.h"

namespace {

std::string storedAgenda(int count) {
    std::string xml =
        "<Varnotel><agenda title=\"Agenda\" subtitle=\"\" startTime=\"540\" showItemNumbers=\"1\" "
        "showResponsible=\"1\" "
        "showTimeSlots=\"1\" showPageNumbers=\"0\"><format enumerate2ndLevel=\"dot\" enumerateBreak=\"1\"/><subtitle/>"
        "<styles/><items>";
    for (int i = 0; i < count; ++i) {
        xml += "<item text=\"Item " + std::to_string(i) + "\" level=\"" + (i % 4 == 0 ? "1" : "2") +
               "\" responsible=\"Team\" duration=\"" + std::to_string(i % 30) + "\" break=\"" +
               (i % 10 == 9 ? "1" : "0") + "\" slideID=\"s_" + std::to_string(100000000 + i) +
               "-0000-0000-0000-000000000000\" showAgendaItem=\"1\" "
               "generateAgendaSlide=\"0\"/>";
    }
    return xml + "</items></agenda></Varnotel>";
}

void BM_agendaLoadShowAndStore(benchmark::State& state) {
    host::Application app("14.0");
    plorin::state().application = &app;
    auto presentation = app.Presentations().Add();
    presentation->Slides().Add(1, 1);
    const std::string stored = storedAgenda(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        presentation->Tags().Add(plorin::kAgendaXmlTag, stored);
        plorin::AgendaWizard wizard;
        wizard.Load();
        wizard.OK();
    }
    if (presentation->Tags().Item(plorin::kAgendaXmlTag) != stored || !plorin::reportedErrors().empty())
        state.SkipWithError("the agenda did not go back as it came");
    plorin::state().application = nullptr;
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_agendaLoadShowAndStore)->Arg(30)->Arg(300)->Arg(3000)->Complexity(benchmark::oN);

}  // namespace
