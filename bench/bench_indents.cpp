// Moving every paragraph of a long text one level in and out again: the cost per paragraph
// should stay the same from 100 to 10,000 paragraphs.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/shared_state.h"
#include "host/host.h"
#include "host/text.h"
#include "tools/efficiency_tools.h"

namespace {

struct LongText {
    LongText(int paragraphs, const char* version) : app(version) {
        plorin::state().application = &app;
        auto presentation = app.Presentations().Add();
        auto slide = presentation->Slides().Add(1, 12);
        auto box = slide->Shapes().AddTextbox(1, 36, 36, 648, 468);
        std::string text;
        for (int i = 0; i < paragraphs; ++i) text += (i ? "\rParagraph " : "Paragraph ") + std::to_string(i + 1);
        box->TextFrame().TextRange().setText(text);
        app.ActiveWindow()->selectShapes({box});
    }
    ~LongText() { plorin::state().application = nullptr; }
    host::Application app;
    plorin::EfficiencyTools tools;
};

void indentInAndOut(benchmark::State& state, const char* version) {
    LongText deck(static_cast<int>(state.range(0)), version);
    for (auto _ : state) {
        deck.tools.addIndent();
        deck.tools.removeIndent();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 2);
    state.SetComplexityN(state.range(0));
}

void BM_IndentOnARibbonHost(benchmark::State& state) { indentInAndOut(state, "14.0"); }
void BM_IndentOnACommandBarHost(benchmark::State& state) { indentInAndOut(state, "11.0"); }

BENCHMARK(BM_IndentOnARibbonHost)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_IndentOnACommandBarHost)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
